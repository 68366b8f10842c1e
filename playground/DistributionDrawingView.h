#pragma once

#include "playground/DrawingPath.h"
#include "playground/DrawingView.h"

#include <memory>
#include <vector>

namespace ui {
class ShapeLayer;
}

namespace zm {

// The arrows of the distribution playground: one curve from the factor to each term of the sum, all
// stroked as one shape in the overlay's colour. Rendered with animation, the arrows draw themselves
// in 1.5 s. The curves are also the tracks the copies of the factor travel along.
class DistributionDrawingView : public DrawingView {
public:
    static std::shared_ptr<DistributionDrawingView> create(const core::Rect& frame);

    // Path i leads to the i-th target of the playground.
    const std::vector<DrawingPath>& paths() const { return m_paths; }
    void addDrawingPath(const DrawingPath& path);
    // Shows the paths: one shape, drawn over 1.5 s when animated. Rendering again replaces the shape.
    void renderWithAnimation(bool animated);
    // The shape on screen, or null before the first rendering and after a clear.
    const std::shared_ptr<ui::ShapeLayer>& shapeLayer() const { return m_shapeLayer; }

    // Whether there is any path.
    bool isDisplayed() const override;
    // No paths and no shape any more.
    void clear() override;

protected:
    explicit DistributionDrawingView(const core::Rect& frame);

private:
    std::vector<DrawingPath> m_paths;
    std::shared_ptr<ui::ShapeLayer> m_shapeLayer;
};

} // namespace zm
