#pragma once

#include "platform/ui/Control.h"

namespace ui {

// An on/off switch: a rounded track, green while on, with a round knob at the end it is switched to.
// A tap flips it and reports ValueChanged; setting it in code reports nothing.
class Switch : public Control {
public:
    static constexpr core::Size kDefaultSize{51, 31};

    static std::shared_ptr<Switch> create(const core::Rect& frame = {{}, kDefaultSize});

    bool isOn() const { return m_on; }
    void setOn(bool on);

    const core::Color& onTintColor() const { return m_onTint; }
    void setOnTintColor(const core::Color& color);

protected:
    explicit Switch(const core::Rect& frame);

    void endTracking(const Touch& touch, const Event& event) override;
    void draw(gfx::Canvas& canvas) override;

private:
    bool m_on = false;
    core::Color m_onTint = core::Color::rgb255(76, 217, 100);
};

} // namespace ui
