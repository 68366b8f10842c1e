#pragma once

#include "platform/ui/Control.h"

#include <cstdint>
#include <memory>

namespace zm {

// A drawn two-button stepper: a rounded box split into an upper and a lower half, with an up and a down
// arrow near its right edge. A tap in the upper half adds one to the value, a tap in the lower half
// takes one away, within the allowed limits; each change reports ValueChanged. It shows no number.
//
// The value and the limits are set as they are: setting them neither clamps nor redraws.
//
// Main thread only.
class NZUpDownControl : public ui::Control {
public:
    static std::shared_ptr<NZUpDownControl> create(const core::Rect& frame = {0, 0, 94, 27});

    std::int32_t value() const { return m_value; }
    void setValue(std::int32_t value) { m_value = value; }
    std::int32_t minimumAllowedValue() const { return m_minimumAllowedValue; }
    void setMinimumAllowedValue(std::int32_t value) { m_minimumAllowedValue = value; }
    std::int32_t maximumAllowedValue() const { return m_maximumAllowedValue; }
    void setMaximumAllowedValue(std::int32_t value) { m_maximumAllowedValue = value; }

    // Whether the current or last touch began in the upper half.
    bool topHalfSelected() const { return m_topHalfSelected; }
    // Whether the next drawing shows that half pressed.
    bool showsPressed() const { return m_selected || m_touchNeedsDisplay; }

protected:
    explicit NZUpDownControl(const core::Rect& frame);

    bool beginTracking(const ui::Touch& touch, const ui::Event& event) override;
    bool continueTracking(const ui::Touch& touch, const ui::Event& event) override;
    void endTracking(const ui::Touch& touch, const ui::Event& event) override;
    void cancelTracking(const ui::Event& event) override;
    void draw(gfx::Canvas& canvas) override;

private:
    bool isInside(const ui::Touch& touch) const;
    void processTouchUp();

    std::int32_t m_value = 0;
    std::int32_t m_minimumAllowedValue = 0;
    std::int32_t m_maximumAllowedValue = 0;
    bool m_topHalfSelected = false;
    // A touch is down and inside.
    bool m_selected = false;
    // A touch began and its pressed look has not been drawn yet.
    bool m_touchNeedsDisplay = false;
};

} // namespace zm
