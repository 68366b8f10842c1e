#pragma once

#include <memory>

namespace ui {

class View;
class Window;

// Shows the input view of the window's first responder docked at the bottom of the window, as wide as
// the window and as high as the input view, sliding up when it comes and down when it goes. Touches
// that the input view does not handle go on to the first responder, and from there up its own chain
// (a screen's controller may handle the keys of its keyboard). Each slide is announced with the
// keyboard notifications (KeyboardNotifications.h).
//
// Main thread only; owned by its window.
class InputViewDock {
public:
    explicit InputViewDock(Window& window);
    ~InputViewDock();
    InputViewDock(const InputViewDock&) = delete;
    InputViewDock& operator=(const InputViewDock&) = delete;

    // Docks `inputView` for `owner` (replacing what was docked); nullptr undocks.
    void show(std::shared_ptr<View> inputView, const std::shared_ptr<View>& owner);
    // The input view docked now (nullptr while none, also while one slides away).
    View* inputView() const;
    // The height the docked input view takes at the bottom of the window (0 while none is docked).
    float dockedHeight() const;

private:
    class Holder;

    void slideAway();

    Window& m_window;
    std::shared_ptr<Holder> m_holder; // the docked one
};

} // namespace ui
