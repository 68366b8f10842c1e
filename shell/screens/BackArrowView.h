#pragma once

#include "platform/ui/View.h"

namespace zm {

// The "<" of back buttons: a white open angle, 3 points wide, inset 3 points from the top, bottom and
// right edges, its point on the left edge's middle. Placed by interface files.
class BackArrowView : public ui::View {
public:
    static std::shared_ptr<BackArrowView> create(const core::Rect& frame = {});

protected:
    explicit BackArrowView(const core::Rect& frame)
        : View(frame) {}

    void draw(gfx::Canvas& canvas) override;
};

} // namespace zm
