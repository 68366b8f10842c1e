#include "platform/ui/InputViewDock.h"

#include "platform/core/NotificationCenter.h"
#include "platform/ui/KeyboardNotifications.h"

#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr double slideDuration = 0.25;

void post(std::string_view name, const View& window, const core::Rect& begin, const core::Rect& end) {
    core::NotificationCenter::defaultCenter().post(std::string(name), &window,
                                                   KeyboardInfo{begin, end, slideDuration}.userInfo());
}

} // namespace

// Holds a docked input view; touches it passes on go to the first responder it was docked for.
class InputViewDock::Holder : public View {
public:
    static std::shared_ptr<Holder> create(std::shared_ptr<View> inputView,
                                          const std::shared_ptr<View>& owner) {
        return std::shared_ptr<Holder>(new Holder(std::move(inputView), owner));
    }

    const std::shared_ptr<View>& inputView() const { return m_inputView; }
    bool isLeaving() const { return m_leaving; }
    void setLeaving() { m_leaving = true; }
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
    bool m_leaving = false;
};

InputViewDock::InputViewDock(Window& window)
    : m_window(window) {}

InputViewDock::~InputViewDock() = default;

View* InputViewDock::inputView() const {
    return m_holder ? m_holder->inputView().get() : nullptr;
}

float InputViewDock::dockedHeight() const {
    return m_holder ? m_holder->bounds().height() : 0;
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
    const core::Rect begin = m_holder->frame();
    const core::Rect end{window.minX(), window.maxY() - height, window.width(), height};
    post(keyboardWillShowNotification, m_window, begin, end);
    animate(
        {.duration = slideDuration}, [holder = m_holder.get(), end] { holder->setFrame(end); },
        [holder = std::weak_ptr(m_holder), begin, end](bool) {
            const std::shared_ptr<Holder> arrived = holder.lock();
            if (arrived && !arrived->isLeaving() && arrived->window())
                post(keyboardDidShowNotification, *arrived->window(), begin, end);
        });
}

void InputViewDock::slideAway() {
    if (!m_holder)
        return;
    const std::shared_ptr<Holder> leaving = std::move(m_holder);
    const core::Rect window = m_window.bounds();
    const core::Rect begin = leaving->frame();
    const core::Rect end{window.minX(), window.maxY(), window.width(), begin.height()};
    leaving->setLeaving();
    post(keyboardWillHideNotification, m_window, begin, end);
    animate(
        {.duration = slideDuration}, [&] { leaving->setFrame(end); },
        [leaving, begin, end](bool) {
            const std::shared_ptr<View> window =
                leaving->window() ? leaving->window()->shared_from_this() : nullptr;
            leaving->removeFromSuperview();
            if (window)
                post(keyboardDidHideNotification, *window, begin, end);
        });
}

} // namespace ui
