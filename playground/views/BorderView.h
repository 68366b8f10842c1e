#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace zm {

// A rectangle drawn as two white walls, 3 points wide, at its left and right edges; it draws itself
// again whenever its size changes. The exponents playground's platform is one.
class BorderView : public ui::View {
public:
    static std::shared_ptr<BorderView> create(const core::Rect& frame);

protected:
    explicit BorderView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;
};

} // namespace zm
