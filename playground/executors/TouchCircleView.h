#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace zm {

// The demonstrating finger: a small translucent circle, dark while it hovers and white while it
// presses. 30 points wide, 50 on a tablet. It takes no touches of its own.
class TouchCircleView : public ui::View {
public:
    static std::shared_ptr<TouchCircleView> create();

    bool touchedDown() const { return m_touchedDown; }
    void setTouchedDown(bool touchedDown);

protected:
    TouchCircleView();
    void draw(gfx::Canvas& canvas) override;

private:
    bool m_touchedDown = false;
};

} // namespace zm
