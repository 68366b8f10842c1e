#include "platform/ui/ViewController.h"

#include "platform/ui/View.h"

namespace ui {

std::shared_ptr<ViewController> ViewController::create() {
    return std::shared_ptr<ViewController>(new ViewController);
}

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
}

const std::shared_ptr<View>& ViewController::view() {
    if (!m_view) {
        loadView();
        if (!m_view)
            setView(View::create());
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
    m_view = std::move(view);
    if (m_view)
        m_view->setViewController(this);
}

Responder* ViewController::nextResponder() const {
    return m_view ? m_view->superview() : nullptr;
}

void ViewController::loadView() {
    setView(View::create());
}

void ViewController::viewDidLoad() {}

} // namespace ui
