#include "playground/keyboard/AlgebraKeyboardKey.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "playground/views/Fonts.h"

#include <numbers>
#include <string_view>

namespace zm {

namespace {

constexpr std::string_view kKeyFontName = "HelveticaNeue-Light";
constexpr float kLabelFontSizePhone = 24;
constexpr float kLabelFontSizeTablet = 38;
constexpr float kCornerRadius = 4;
// The side of the delete symbol's square part.
constexpr float kDeleteSymbolSizePhone = 16;
constexpr float kDeleteSymbolSizeTablet = 28;

// How far a sign's label is raised on a phone and on a tablet (a negative value lowers it).
struct LabelInset {
    std::string_view key;
    float phone;
    float tablet;
};
constexpr LabelInset kLabelInsets[] = {
    {"+", 5, 8}, {"-", 4, 6}, {"xyz", 4, 4}, {"*", -7, -10}, {"=", 4, 6}, {"(", 4, 6}, {")", 4, 6},
};

constexpr float kPi = std::numbers::pi_v<float>;

} // namespace

std::shared_ptr<AlgebraKeyboardKey> AlgebraKeyboardKey::create(const core::Rect& frame) {
    return std::shared_ptr<AlgebraKeyboardKey>(
        new AlgebraKeyboardKey(frame, onTablet() ? kLabelFontSizeTablet : kLabelFontSizePhone));
}

AlgebraKeyboardKey::AlgebraKeyboardKey(const core::Rect& frame, float labelFontSize)
    : ui::View(frame) {
    setBackgroundColor(core::Color::clear());
    setLabel(makeLabel(bounds(), labelFontSize));
}

bool AlgebraKeyboardKey::onTablet() {
    return ui::Device::current().isTablet();
}

std::shared_ptr<ui::Label> AlgebraKeyboardKey::makeLabel(const core::Rect& frame, float size) {
    std::shared_ptr<ui::Label> label = ui::Label::create(frame);
    label->setTextAlignment(gfx::TextAlignment::Center);
    label->setFont(fontNamed(kKeyFontName, size));
    return label;
}

void AlgebraKeyboardKey::setLabel(std::shared_ptr<ui::Label> label) {
    if (m_label)
        m_label->removeFromSuperview();
    m_label = std::move(label);
    m_label->setTextColor(m_canPress ? core::Color::black() : kDisabledTextColor);
    addSubview(m_label);
}

void AlgebraKeyboardKey::setKeyString(std::string keyString) {
    m_keyString = std::move(keyString);
    m_label->setText(m_keyString);
    adjustInsets();
}

void AlgebraKeyboardKey::setTouching(bool touching) {
    if (m_touching == touching)
        return;
    m_touching = touching;
    setNeedsDisplay();
}

void AlgebraKeyboardKey::setCanPress(bool canPress) {
    if (m_canPress == canPress)
        return;
    m_canPress = canPress;
    m_label->setTextColor(canPress ? core::Color::black() : kDisabledTextColor);
    setNeedsDisplay();
}

void AlgebraKeyboardKey::moveLabelUp(float v) {
    m_label->setFrame({0, 0, bounds().width(), bounds().height() - v});
}

void AlgebraKeyboardKey::adjustInsets() {
    float raise = 0;
    for (const LabelInset& inset : kLabelInsets) {
        if (inset.key == m_keyString)
            raise = onTablet() ? inset.tablet : inset.phone;
    }
    moveLabelUp(raise);
}

bool AlgebraKeyboardKey::drawsDark() const {
    if (isSwitcherKey())
        return true;
    return isDeleteKey() ? !m_touching : m_touching;
}

void AlgebraKeyboardKey::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    canvas.save();
    canvas.setShadow(gfx::Shadow{{0, 1}, 0, kShadowColor});
    canvas.setLineJoin(gfx::LineJoin::Round);
    canvas.setFillColor(drawsDark() ? kDarkFaceColor : kIdleFaceColor);
    canvas.fillPath(
        gfx::Path::roundedRect({area.minX(), area.minY(), area.width(), area.height() - 1}, kCornerRadius));
    canvas.restore();
    if (isDeleteKey())
        drawDeleteSymbol(canvas);
}

// A key-top arrow pointing left with a cross inside it.
void AlgebraKeyboardKey::drawDeleteSymbol(gfx::Canvas& canvas) const {
    const float s = onTablet() ? kDeleteSymbolSizeTablet : kDeleteSymbolSizePhone;
    const float x0 = (bounds().width() - 1.5f * s) / 2;
    const float y0 = (bounds().height() - s) / 2;
    const float ym = y0 + s / 2;
    const float x1 = x0 + s / 2;
    const float r = s / 8;
    const float xr = x1 + s - r;

    gfx::Path outline;
    outline.moveTo({x0, ym});
    outline.lineTo({x1, y0});
    outline.lineTo({xr, y0});
    outline.addArc({xr, y0 + r}, r, 3 * kPi / 2, 2 * kPi, true);
    outline.addArc({xr, y0 + s - r}, r, 0, kPi / 2, true);
    outline.lineTo({x1, y0 + s});
    outline.close();

    gfx::Path cross;
    cross.moveTo({x1 + s / 4 - 1, y0 + s / 4});
    cross.lineTo({x1 + 3 * s / 4 - 1, y0 + 3 * s / 4});
    cross.moveTo({x1 + s / 4 - 1, y0 + 3 * s / 4});
    cross.lineTo({x1 + 3 * s / 4 - 1, y0 + s / 4});

    canvas.save();
    canvas.setStrokeColor(core::Color::black());
    canvas.setLineWidth(1);
    canvas.strokePath(outline);
    canvas.strokePath(cross);
    canvas.restore();
}

} // namespace zm
