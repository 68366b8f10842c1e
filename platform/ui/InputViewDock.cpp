#include "platform/ui/InputViewDock.h"

#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr double slideDuration = 0.25;

} // namespace

// Holds a docked input view; touches it passes on go to the first responder it was docked for.
class InputViewDock::Holder : public View {
public:
    static std::shared_ptr<Holder> create(std::shared_ptr<View> inputView,
                                          const std::shared_ptr<View>& owner) {
        return std::shared_ptr<Holder>(new Holder(std::move(inputView), owner));
    }

    const std::shared_ptr<View>& inputView() const { return m_inputView; }
    void setOwner(const std::shared_ptr<View>& owner) { m_owner = owner; }

    Responder* nextResponder() const override {
        if (const std::shared_ptr<View> owner = m_owner.lock())
            return owner.get();
        return View::nextResponder();
    }

private:
    Holder(std::shared_ptr<View> inputView, const std::shared_ptr<View>& owner)
        : View({})
        , m_inputView(std::move(inputView))
        , m_owner(owner) {}

    std::shared_ptr<View> m_inputView;
    std::weak_ptr<View> m_owner; // the first responder, which the window holds
};

InputViewDock::InputViewDock(Window& window)
    : m_window(window) {}

InputViewDock::~InputViewDock() = default;

View* InputViewDock::inputView() const {
    return m_holder ? m_holder->inputView().get() : nullptr;
}

void InputViewDock::show(std::shared_ptr<View> inputView, const std::shared_ptr<View>& owner) {
    if (m_holder && m_holder->inputView() == inputView) {
        m_holder->setOwner(owner);
        return;
    }
    slideAway();
    if (!inputView)
        return;
    const core::Rect window = m_window.bounds();
    const float height = inputView->bounds().height();
    m_holder = Holder::create(inputView, owner);
    m_holder->setFrame({window.minX(), window.maxY(), window.width(), height});
    m_holder->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleTopMargin);
    inputView->setFrame({0, 0, window.width(), height});
    inputView->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_holder->addSubview(std::move(inputView));
    m_window.addSubview(m_holder);
    animate({.duration = slideDuration}, [holder = m_holder.get(), window, height] {
        holder->setFrame({window.minX(), window.maxY() - height, window.width(), height});
    });
}

void InputViewDock::slideAway() {
    if (!m_holder)
        return;
    const std::shared_ptr<Holder> leaving = std::move(m_holder);
    const core::Rect window = m_window.bounds();
    animate(
        {.duration = slideDuration},
        [&] {
            leaving->setFrame({window.minX(), window.maxY(), window.width(), leaving->bounds().height()});
        },
        [leaving](bool) { leaving->removeFromSuperview(); });
}

} // namespace ui
