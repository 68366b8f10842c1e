#pragma once

#include <memory>
#include <string_view>

namespace ui {

class View;

// The keys of a keyboard that edit rather than type.
enum class EditingKey { Backspace, Delete, Return, Left, Right, Home, End };

// What takes the keyboard while it is the window's first responder: a text field or a text view (see
// Window::makeFirstResponder). The host hands it what is typed.
class KeyInput {
public:
    virtual ~KeyInput() = default;

    virtual void insertText(std::string_view text) = 0;
    virtual void pressKey(EditingKey key) = 0;
    // A view docked at the bottom of the window while this is the first responder (a keyboard of the
    // game's own); nullptr for none.
    virtual std::shared_ptr<View> inputView() const = 0;
    // It is no longer the first responder: another took over, it resigned, or it left the window.
    virtual void firstResponderResigned() = 0;
};

} // namespace ui
