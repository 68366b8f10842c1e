#include "components/KHProgressHUD/KHRoundProgressView.h"

#include "platform/gfx/Canvas.h"

#include <numbers>

namespace zm {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kRingWidth = 5;

// The angle of the progress, clockwise from the top.
float progressAngle(float progress) {
    return progress * 2 * kPi - kPi / 2;
}

} // namespace

std::shared_ptr<KHRoundProgressView> KHRoundProgressView::create() {
    return create({0, 0, 37, 37});
}

std::shared_ptr<KHRoundProgressView> KHRoundProgressView::create(const core::Rect& frame) {
    return std::shared_ptr<KHRoundProgressView>(new KHRoundProgressView(frame));
}

KHRoundProgressView::KHRoundProgressView(const core::Rect& frame)
    : View(frame) {
    setBackgroundColor(core::Color::clear());
    setContentMode(ui::ContentMode::Redraw);
}

void KHRoundProgressView::setProgress(float progress) {
    m_progress = progress;
    setNeedsDisplay();
}

void KHRoundProgressView::setAnnular(bool annular) {
    m_annular = annular;
    setNeedsDisplay();
}

void KHRoundProgressView::draw(gfx::Canvas& canvas) {
    if (m_annular)
        drawRing(canvas);
    else
        drawPie(canvas);
}

void KHRoundProgressView::drawPie(gfx::Canvas& canvas) const {
    const core::Rect& area = bounds();
    const gfx::Path circle = gfx::Path::ellipse(area.insetBy(2, 2));
    canvas.setStrokeColor(core::Color::white(1, 1));
    canvas.setFillColor(core::Color::white(1, 0.1f));
    canvas.setLineWidth(2);
    canvas.fillPath(circle);
    canvas.strokePath(circle);

    const core::Point center{area.width() / 2, area.height() / 2};
    gfx::Path pie;
    pie.moveTo(center);
    pie.addArc(center, (area.width() - 4) / 2, -kPi / 2, progressAngle(m_progress), true);
    pie.close();
    canvas.setFillColor(core::Color::white(1, 1));
    canvas.fillPath(pie);
}

void KHRoundProgressView::drawRing(gfx::Canvas& canvas) const {
    const core::Rect& area = bounds();
    const core::Point center{area.width() / 2, area.height() / 2};
    const float radius = (area.width() - kRingWidth) / 2;
    canvas.setLineWidth(kRingWidth);
    canvas.setLineCap(gfx::LineCap::Round);

    gfx::Path track;
    track.addArc(center, radius, -kPi / 2, 3 * kPi / 2, true);
    canvas.setStrokeColor(core::Color::white(1, 0.1f));
    canvas.strokePath(track);

    gfx::Path done;
    done.addArc(center, radius, -kPi / 2, progressAngle(m_progress), true);
    canvas.setStrokeColor(core::Color::white());
    canvas.strokePath(done);
}

} // namespace zm
