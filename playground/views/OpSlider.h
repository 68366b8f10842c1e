#pragma once

#include "platform/ui/Slider.h"
#include "playground/views/GenericView.h"

namespace zm {

// The slider of the distribution playground. It is placed and measured like every other view but
// keeps its own look: colours, highlights and scaling leave it as it is. It is easy to catch: a
// touch up to 10 points above or below it lands on it.
class OpSlider : public ui::Slider, public GenericView {
public:
    // 300 points wide on a tablet, 200 on a phone, at the slider's own height.
    static std::shared_ptr<OpSlider> create();

    bool pointInside(core::Point point, const ui::Event* event) const override;

    // Never shown highlighted (the control's own pressed state is `ui::Control::isHighlighted`).
    using GenericView::isHighlighted;
    ViewList getViewList() const override { return {sharedPlatformView()}; }
    void setAlgebraTransformSize(float) override {}
    void highlight() override {}
    void matchHoverHighlight() override {}

protected:
    OpSlider();

    ui::View& platformView() override { return *this; }
};

} // namespace zm
