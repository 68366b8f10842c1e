#include "playground/views/GenericLabel.h"

#include "platform/gfx/Text.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Fonts.h"

namespace zm {

namespace {

constexpr float kEnlargement = 1.3f;
constexpr double kFontChangeDuration = 0.25;

} // namespace

std::shared_ptr<GenericLabel> GenericLabel::create(const std::string& text, const gfx::Font& font) {
    return std::make_shared<GenericLabel>(Key{}, text, font);
}

GenericLabel::GenericLabel(Key, const std::string& text, const gfx::Font& font)
    : ui::Label({{0, 0}, gfx::measureText(text, font)}) {
    setFont(font);
    setTextColor(core::Color::white());
    setText(text);
    setBackgroundColor(core::Color::clear());
    setUserInteractionEnabled(false);
}

void GenericLabel::setColor(const core::Color& color) {
    setTextColor(color);
}

ViewList GenericLabel::getViewList() const {
    return {sharedPlatformView()};
}

GenericViewList GenericLabel::getGenericSubviews() const {
    return {genericSelf()};
}

float GenericLabel::getPureWidth() const {
    return m_enlarged ? getWidth() / kEnlargement : getWidth();
}

void GenericLabel::dehighlight() {
    setTransform(core::AffineTransform::identity());
    m_enlarged = false;
}

bool GenericLabel::isHighlighted() const {
    return textColor().description() == kHighlightColor.description();
}

void GenericLabel::setFontSize(float size, bool animated) {
    const gfx::Font newFont = fontNamed(font().name(), size);
    // Already on its way to this very font: it arrives by itself, without a jump.
    if (!animated && m_pendingFont == newFont)
        return;
    const core::Size newSize = measuredSize(newFont);
    const float width = bounds().width();
    // A label without width has nothing to scale from: it takes the new font at once.
    if (!animated || width <= 0) {
        takeFont(newFont, newSize);
        return;
    }
    const float scale = newSize.width / width;
    m_pendingFont = newFont;
    std::weak_ptr<View> weakSelf = weak_from_this();
    ui::animate(
        {.duration = kFontChangeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
        [this, scale] { setTransform(core::AffineTransform::makeScale(scale, scale)); },
        [weakSelf, newFont, newSize](bool finished) {
            const std::shared_ptr<View> self = weakSelf.lock();
            if (!self)
                return;
            auto& label = static_cast<GenericLabel&>(*self);
            if (label.m_pendingFont == newFont)
                label.m_pendingFont.reset();
            if (finished)
                label.takeFont(newFont, newSize);
        });
}

core::Size GenericLabel::measuredSize(const gfx::Font& font) const {
    if (!m_measurement || m_measurement->font != font || m_measurement->text != text())
        m_measurement = Measurement{text(), font, gfx::measureText(text(), font)};
    return m_measurement->size;
}

void GenericLabel::takeFont(const gfx::Font& font, core::Size size) {
    m_pendingFont.reset();
    setBounds({bounds().origin, size});
    setFont(font);
    setTransform(core::AffineTransform::identity());
}

} // namespace zm
