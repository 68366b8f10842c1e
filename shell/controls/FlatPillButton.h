#pragma once

#include "platform/ui/Button.h"

namespace zm {

// The game's push button: the outline of a pill (a rounded rectangle with half-circle ends) in the
// colour of its title, with a lighter inner pill while it is pressed. The title is the button's own
// title label, above the pill. Outlines are 2 points wide, 1 when thin and 3 when bold (bold wins).
//
// Made in code (`button`, `create`) it has a black title that turns white while pressed, and 8 points
// of title inset left and right; made from an interface file it keeps what the file gives it.
class FlatPillButton : public ui::Button {
public:
    static std::shared_ptr<FlatPillButton> button() { return create({}); }
    static std::shared_ptr<FlatPillButton> create(const core::Rect& frame);
    // The interface-file way of making one.
    static std::shared_ptr<FlatPillButton> createFromInterfaceFile();

    bool bold() const { return m_bold; }
    void setBold(bool bold);
    bool thin() const { return m_thin; }
    void setThin(bool thin);

    float lineWidth() const;

protected:
    explicit FlatPillButton(const core::Rect& frame);

    // The pill follows the bounds and the state (the base redraws on every change of state).
    void draw(gfx::Canvas& canvas) override;

private:
    bool m_bold = false;
    bool m_thin = false;
};

} // namespace zm
