#include "playground/keyboard/BigAlgebraKeyboardKey.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Label.h"

#include <numbers>

namespace zm {

namespace {

constexpr float kLabelFontSizePhone = 32;
constexpr float kLabelFontSizeTablet = 50;
constexpr float kWidthFactor = 1.5f;
constexpr float kHeightFactor = 3;
// The height of the S-curves between the head and the foot of the balloon.
constexpr float kNeck = 17;
constexpr float kCornerRadius = 4;
constexpr float kShadowBlur = 3;

constexpr float kPi = std::numbers::pi_v<float>;

} // namespace

std::shared_ptr<BigAlgebraKeyboardKey> BigAlgebraKeyboardKey::create(const AlgebraKeyboardKey& key) {
    return std::shared_ptr<BigAlgebraKeyboardKey>(new BigAlgebraKeyboardKey(key));
}

BigAlgebraKeyboardKey::BigAlgebraKeyboardKey(const AlgebraKeyboardKey& key)
    : AlgebraKeyboardKey({0, 0, kWidthFactor * key.frame().width(), kHeightFactor * key.frame().height()},
                         headFontSize())
    , m_ogBounds(key.bounds()) {
    // The head of the balloon holds the text; the foot covers the key.
    std::shared_ptr<ui::Label> head =
        makeLabel({0, 0, bounds().width(), bounds().height() - m_ogBounds.height() - kNeck}, headFontSize());
    head->setText(key.label()->text());
    setLabel(std::move(head));
}

float BigAlgebraKeyboardKey::headFontSize() {
    return onTablet() ? kLabelFontSizeTablet : kLabelFontSizePhone;
}

// A balloon as wide as the view on top, narrowing in two S-curves to the width of the pressed key at
// the bottom.
void BigAlgebraKeyboardKey::draw(gfx::Canvas& canvas) {
    const float w = bounds().width();
    const float h = bounds().height();
    const float a = (w - m_ogBounds.width()) / 2;
    const float bottom = h - 1;
    const float keyTop = bottom - m_ogBounds.height();
    const float neckTop = keyTop - kNeck;
    const float q = (a - 1) / 4;
    const float e = kNeck / 1.5f;
    const float right = w - 1;
    const float keyRight = right - a + 1;
    const float c = kCornerRadius;

    gfx::Path balloon;
    balloon.moveTo({a, bottom - c});
    balloon.lineTo({a, keyTop});
    balloon.curveTo({a - q, keyTop - e}, {q + 1, neckTop + e}, {1, neckTop});
    balloon.lineTo({1, 1 + c});
    balloon.addArc({1 + c, 1 + c}, c, kPi, 3 * kPi / 2, true);
    balloon.lineTo({right - c, 1});
    balloon.addArc({right - c, 1 + c}, c, 3 * kPi / 2, 2 * kPi, true);
    balloon.lineTo({right, neckTop});
    balloon.curveTo({right - q, neckTop + e}, {keyRight + q, keyTop - e}, {keyRight, keyTop});
    balloon.lineTo({keyRight, bottom - c});
    balloon.addArc({keyRight - c, bottom - c}, c, 0, kPi / 2, true);
    balloon.lineTo({a + c, bottom});
    balloon.addArc({a + c, bottom - c}, c, kPi / 2, kPi, true);
    balloon.close();

    canvas.save();
    canvas.setShadow(gfx::Shadow{{0, 0}, kShadowBlur, kShadowColor.withAlpha(0.5f)});
    canvas.setLineJoin(gfx::LineJoin::Round);
    canvas.setFillColor(kIdleFaceColor);
    canvas.fillPath(balloon);
    canvas.restore();
}

} // namespace zm
