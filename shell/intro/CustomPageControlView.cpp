#include "shell/intro/CustomPageControlView.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"

namespace zm {

namespace {

constexpr float kDiameterShare = 0.8f; // of the view's height
constexpr float kGapShare = 0.3f;
constexpr float kCurrentAlpha = 1;
constexpr float kOtherAlpha = 0.25f;
constexpr unsigned kTutorialPages = 4;

} // namespace

std::shared_ptr<CustomPageControlView> CustomPageControlView::create(const core::Rect& frame) {
    return std::shared_ptr<CustomPageControlView>(new CustomPageControlView(frame));
}

std::shared_ptr<CustomPageControlView> CustomPageControlView::createFromInterfaceFile() {
    std::shared_ptr<CustomPageControlView> control = create();
    control->setTotalPages(kTutorialPages);
    control->setCurrentPage(0);
    return control;
}

CustomPageControlView::CustomPageControlView(const core::Rect& frame)
    : View(frame) {}

void CustomPageControlView::setCurrentPage(unsigned page) {
    m_currentPage = page;
    setNeedsDisplay();
}

CustomPageControlView::Dot CustomPageControlView::dot(const core::Rect& bounds, unsigned pages,
                                                      unsigned index) {
    const float height = bounds.height();
    const float diameter = kDiameterShare * height;
    const float gap = kGapShare * height;
    const float rowWidth = float(pages) * diameter + float(pages > 0 ? pages - 1 : 0) * gap;
    const float leftMargin = (bounds.width() - rowWidth) / 2;
    return {{bounds.minX() + leftMargin + diameter / 2 + float(index) * (diameter + gap),
             bounds.minY() + height / 2},
            diameter};
}

void CustomPageControlView::draw(gfx::Canvas& canvas) {
    for (unsigned index = 0; index < m_totalPages; ++index) {
        const Dot place = dot(bounds(), m_totalPages, index);
        const float radius = place.diameter / 2;
        canvas.setFillColor(
            core::Color::white().withAlpha(index == m_currentPage ? kCurrentAlpha : kOtherAlpha));
        canvas.fillPath(gfx::Path::ellipse(
            {place.center.x - radius, place.center.y - radius, place.diameter, place.diameter}));
    }
}

} // namespace zm
