#include "platform/ui/Window.h"

#include "platform/ui/InputViewDock.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

namespace {

// A finger that lands this soon and this near after the previous one lifted continues its taps.
constexpr double multipleTapInterval = 0.35;
constexpr float multipleTapDistance = 20;

} // namespace

std::shared_ptr<Window> Window::create(const core::Rect& frame) {
    return std::shared_ptr<Window>(new Window(frame));
}

Window::Window(const core::Rect& frame)
    : View(frame)
    , m_dock(std::make_unique<InputViewDock>(*this)) {
    m_window = this;
    layer().setHost(this);
}

Window::~Window() {
    layer().setHost(nullptr);
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (m_rootViewController == controller)
        return;
    if (m_rootViewController && m_rootViewController->isViewLoaded())
        m_rootViewController->view()->removeFromSuperview();
    m_rootViewController = std::move(controller);
    if (!m_rootViewController)
        return;
    const std::shared_ptr<View>& view = m_rootViewController->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    insertSubview(view, 0);
}

void Window::makeFirstResponder(View& view, KeyInput& input) {
    const std::shared_ptr<View> previous = m_firstResponder.lock();
    KeyInput* previousInput = m_keyInput;
    m_firstResponder = view.weak_from_this();
    m_keyInput = &input;
    m_dock->show(input.inputView(), view.shared_from_this());
    if (previous && previous.get() != &view)
        previousInput->firstResponderResigned();
}

void Window::resignFirstResponder(const View& view) {
    const std::shared_ptr<View> current = m_firstResponder.lock();
    if (current.get() != &view)
        return;
    KeyInput* input = std::exchange(m_keyInput, nullptr);
    m_firstResponder.reset();
    m_dock->show(nullptr, nullptr);
    input->firstResponderResigned();
}

float Window::dockedInputHeight() const {
    return m_dock->dockedHeight();
}

bool Window::insertText(std::string_view text) {
    const std::shared_ptr<View> keep = m_firstResponder.lock();
    if (!keep)
        return false;
    m_keyInput->insertText(text);
    return true;
}

bool Window::pressKey(EditingKey key) {
    const std::shared_ptr<View> keep = m_firstResponder.lock();
    if (!keep)
        return false;
    m_keyInput->pressKey(key);
    return true;
}

void Window::layerTreeChanged() {
    if (m_needsDisplay)
        return;
    m_needsDisplay = true;
    if (m_onChange)
        m_onChange();
}

int Window::tapCountFor(core::Point location, double timestamp) const {
    if (!m_lastTap || timestamp - m_lastTap->timestamp > multipleTapInterval)
        return 1;
    const float distance = std::hypot(location.x - m_lastTap->location.x, location.y - m_lastTap->location.y);
    return distance <= multipleTapDistance ? m_lastTap->count + 1 : 1;
}

bool Window::admits(const View& view) const {
    bool othersDown = false;
    for (const auto& [finger, touch] : m_touches) {
        const View* holder = touch->view();
        if (!holder)
            continue;
        if (holder == &view) {
            if (!view.isMultipleTouchEnabled())
                return false;
        } else if (holder->isExclusiveTouch()) {
            return false;
        } else {
            othersDown = true;
        }
    }
    return !(view.isExclusiveTouch() && othersDown);
}

std::shared_ptr<Touch> Window::beginTouch(const TouchInput& input, double timestamp) {
    auto touch = std::make_shared<Touch>();
    touch->m_phase = TouchPhase::Began;
    touch->m_timestamp = timestamp;
    touch->m_location = input.location;
    touch->m_previousLocation = input.location;
    touch->m_window = this;
    touch->m_tapCount = tapCountFor(input.location, timestamp);
    // A finger that lands on nothing, or that its view may not take, is followed but reaches no view.
    View* hit = hitTest(input.location, nullptr);
    if (hit && !admits(*hit))
        hit = nullptr;
    if (hit)
        touch->m_view = hit->weak_from_this();
    m_router.touchBegan(touch, hit);
    return touch;
}

Event Window::currentEvent() const {
    TouchSet all;
    double latest = 0;
    for (const auto& [finger, touch] : m_touches) {
        all.push_back(touch);
        latest = std::max(latest, touch->timestamp());
    }
    return Event(latest, std::move(all));
}

void Window::dispatchTouches(std::span<const TouchInput> inputs, double timestamp) {
    const std::shared_ptr<View> keep = shared_from_this();
    TouchSet changed;
    for (const TouchInput& input : inputs) {
        const auto found = m_touches.find(input.finger);
        if (input.phase == TouchPhase::Began) {
            if (found == m_touches.end())
                changed.push_back(m_touches[input.finger] = beginTouch(input, timestamp));
            continue;
        }
        if (found == m_touches.end() || input.phase == TouchPhase::Stationary)
            continue;
        Touch& touch = *found->second;
        touch.m_previousLocation = touch.m_location;
        touch.m_location = input.location;
        touch.m_phase = input.phase;
        touch.m_timestamp = timestamp;
        if (std::find(changed.begin(), changed.end(), found->second) == changed.end())
            changed.push_back(found->second);
    }

    TouchSet all;
    for (const auto& [finger, touch] : m_touches) {
        if (std::find(changed.begin(), changed.end(), touch) == changed.end())
            touch->m_phase = TouchPhase::Stationary;
        all.push_back(touch);
    }
    const Event event(timestamp, all);

    m_router.deliver(changed, event);

    for (const std::shared_ptr<Touch>& touch : changed) {
        if (touch->m_phase == TouchPhase::Ended)
            m_lastTap = Tap{touch->m_location, timestamp, touch->m_tapCount};
        if (touch->m_phase == TouchPhase::Ended || touch->m_phase == TouchPhase::Cancelled)
            std::erase_if(m_touches, [&](const auto& entry) { return entry.second == touch; });
    }
}

void Window::cancelTouches(double timestamp) {
    std::vector<TouchInput> inputs;
    for (const auto& [finger, touch] : m_touches)
        inputs.push_back({finger, TouchPhase::Cancelled, touch->m_location});
    dispatchTouches(inputs, timestamp);
}

} // namespace ui
