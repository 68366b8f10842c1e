#include "shell/completion/SunburstView.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/ViewAnimation.h"

#include <cmath>
#include <numbers>

namespace zm {

namespace {

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;
// Each ray is half of its period: a ray of 15 degrees, then a gap of 15 degrees.
constexpr float kRayPeriod = 2 * std::numbers::pi_v<float> / SunburstView::kRayCount;
constexpr float kRayWidth = kRayPeriod / 2;

core::Rect squareAsHighAs(const core::Rect& frame) {
    const float side = frame.height();
    return {(frame.width() - side) / 2, frame.minY(), side, side};
}

// The fade of the rays, `pixels` across at `scale`: white, opaque at the centre, gone at the rim. The
// sunbursts of a size share it while any of them shows.
std::shared_ptr<const gfx::Image> fadePicture(int pixels, float scale) {
    static std::weak_ptr<const gfx::Image> kept;
    if (std::shared_ptr<const gfx::Image> picture = kept.lock();
        picture && picture->pixelWidth() == pixels && picture->scale() == scale)
        return picture;
    const float side = float(pixels) / scale;
    gfx::ImageContext context({side, side}, scale);
    const core::Point centre{side / 2, side / 2};
    const gfx::Gradient fade{{{0, core::Color::white(1, 1)}, {1, core::Color::white(1, 0)}}};
    context.canvas().drawRadialGradient(fade, centre, 0, centre, side / 2);
    std::shared_ptr<const gfx::Image> picture = std::move(context).takeImage();
    kept = picture;
    return picture;
}

} // namespace

class SunburstView::RaysLayer : public ui::Layer {
public:
    static std::shared_ptr<RaysLayer> create() { return std::shared_ptr<RaysLayer>(new RaysLayer); }

    float startAlpha() const { return m_startAlpha; }
    void setStartAlpha(float alpha) {
        m_startAlpha = alpha;
        invalidate();
    }

    core::Rect drawingExtents() const override { return presentation().bounds; }

    void drawContent(gfx::Canvas& canvas) const override {
        const core::Rect area = presentation().bounds;
        const float radius = area.width() / 2;
        if (!(radius > 0) || !(m_startAlpha > 0))
            return;
        const core::Point centre{area.midX(), area.midY()};
        gfx::Path rays;
        for (int ray = 0; ray < kRayCount; ++ray) {
            const float start = float(ray) * kRayPeriod;
            rays.moveTo(centre);
            rays.addArc(centre, radius, start, start + kRayWidth, true);
        }
        // Where the fade lies on the canvas's base, stretched as the layer is but not turned, its corner
        // on a pixel's.
        const core::AffineTransform& toBase = canvas.transform();
        const float scale = canvas.scale();
        const core::Point middle = toBase.apply(centre);
        const float width = 2 * radius * std::hypot(toBase.a, toBase.b);
        const float height = 2 * radius * std::hypot(toBase.c, toBase.d);
        const core::Rect placed{std::round((middle.x - width / 2) * scale) / scale,
                                std::round((middle.y - height / 2) * scale) / scale, width, height};
        const int pixels = gfx::pixelLength(2 * radius, scale);
        if (!m_fade || m_fade->pixelWidth() != pixels || m_fade->scale() != scale)
            m_fade = fadePicture(pixels, scale);
        if (!m_fade)
            return;
        canvas.save();
        canvas.clipToPath(rays);
        canvas.setTransform(core::AffineTransform::identity());
        canvas.setAlpha(canvas.alpha() * m_startAlpha);
        canvas.drawImage(*m_fade, placed);
        canvas.restore();
    }

private:
    RaysLayer() = default;

    float m_startAlpha = kDefaultStartAlpha;
    // Kept from frame to frame, as long as the layer keeps its size on the screen.
    mutable std::shared_ptr<const gfx::Image> m_fade;
};

std::shared_ptr<SunburstView> SunburstView::create(const core::Rect& frame) {
    return std::shared_ptr<SunburstView>(new SunburstView(frame));
}

SunburstView::SunburstView(const core::Rect& frame)
    : ui::View(squareAsHighAs(frame), RaysLayer::create()) {
    setBackgroundColor(core::Color::clear());
}

SunburstView::RaysLayer& SunburstView::rays() const {
    return static_cast<RaysLayer&>(layer());
}

float SunburstView::startAlpha() const {
    return rays().startAlpha();
}

void SunburstView::setStartAlpha(float alpha) {
    rays().setStartAlpha(alpha);
}

void SunburstView::spin() {
    ui::AnimationParameters parameters;
    parameters.duration = double(m_speed * 0.25f);
    parameters.curve = ui::AnimationCurve::Linear;
    parameters.options = ui::AnimationOptions::Repeat | ui::AnimationOptions::BeginFromCurrentState;
    const float quarter = m_reverseDirection ? -kQuarterTurn : kQuarterTurn;
    ui::animate(parameters, [this, quarter] { setTransform(transform().rotated(quarter)); });
}

} // namespace zm
