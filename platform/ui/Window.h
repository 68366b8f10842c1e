#pragma once

#include "platform/ui/KeyInput.h"
#include "platform/ui/TouchRouter.h"
#include "platform/ui/View.h"

#include <functional>
#include <map>
#include <span>

namespace ui {

class InputViewDock;

// The root of the view tree shown on the screen. It holds the root view controller, turns the host's
// input into touches for the views, and tells its owner when the tree must be drawn again.
//
// Main thread only.
class Window : public View, private LayerHost {
public:
    static std::shared_ptr<Window> create(const core::Rect& frame);
    ~Window() override;

    // The root view controller's view fills the window.
    const std::shared_ptr<ViewController>& rootViewController() const { return m_rootViewController; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // One change of one finger, in window coordinates.
    struct TouchInput {
        int finger;
        TouchPhase phase;
        core::Point location;
    };
    // Hands the changes of one moment to the views: a finger that lands goes to the view hit under it and
    // stays with it until it lifts. Views get their touches grouped by phase.
    void dispatchTouches(std::span<const TouchInput> inputs, double timestamp);
    // Cancels every finger on the screen (the window lost the pointer).
    void cancelTouches(double timestamp);

    // The first responder takes the keyboard: a text field or view being edited (see KeyInput). Its input
    // view, if it has one, is docked at the bottom of the window meanwhile.
    View* firstResponder() const { return m_firstResponder.lock().get(); }
    // Makes `view`, whose keyboard side is `input`, the first responder; the previous one hears that it
    // resigned. Asked again by the first responder, it docks the input view anew.
    void makeFirstResponder(View& view, KeyInput& input);
    // Ends the time of `view` as first responder (nothing when it is not the first responder).
    void resignFirstResponder(const View& view);
    // The height the first responder's docked input view takes at the bottom of the window (0 while
    // none is docked). The dock announces its slides with the keyboard notifications.
    float dockedInputHeight() const;
    // The host's keyboard: each answers whether a first responder took it.
    bool insertText(std::string_view text);
    bool pressKey(EditingKey key);

    // Whether something changed since the tree was last drawn; `onChange` hears the first change after
    // each drawing.
    bool needsDisplay() const { return m_needsDisplay; }
    void markDisplayed() { m_needsDisplay = false; }
    void setChangeHandler(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    explicit Window(const core::Rect& frame);

    void layerTreeChanged() override;
    std::shared_ptr<Touch> beginTouch(const TouchInput& input, double timestamp);
    bool admits(const View& view) const;
    int tapCountFor(core::Point location, double timestamp) const;
    // Every finger down, at the time of the latest of them.
    Event currentEvent() const;

    std::shared_ptr<ViewController> m_rootViewController;
    std::map<int, std::shared_ptr<Touch>> m_touches;
    TouchRouter m_router{[this] { return currentEvent(); }};
    // The last finger that lifted, for counting taps.
    struct Tap {
        core::Point location;
        double timestamp;
        int count;
    };
    std::optional<Tap> m_lastTap;
    bool m_needsDisplay = true;
    std::function<void()> m_onChange;
    std::weak_ptr<View> m_firstResponder;
    KeyInput* m_keyInput = nullptr; // the first responder itself, while it lives
    std::unique_ptr<InputViewDock> m_dock;
};

} // namespace ui
