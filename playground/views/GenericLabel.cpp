#include "playground/views/GenericLabel.h"

#include "platform/gfx/Text.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Fonts.h"

#include <map>
#include <tuple>

namespace zm {

namespace {

constexpr float kEnlargement = 1.3f;
constexpr double kFontChangeDuration = 0.25;

// Labels of one text in one font have one size. A view tree is measured again and again at the same
// size while it is built, and a resize gives every digit of a long division one new size: the text
// engine, which loads a font set for each new size, is asked once per text and size, not once per
// label. Main thread only, like every label.
core::Size measureOnce(const std::string& text, const gfx::Font& font) {
    using Key = std::tuple<std::string, const gfx::FontFace*, float>;
    constexpr size_t kKept = 1024;
    static std::map<Key, core::Size> measured;
    Key key{text, &font.face(), font.pointSize()};
    if (const auto found = measured.find(key); found != measured.end())
        return found->second;
    if (measured.size() >= kKept)
        measured.clear();
    return measured.emplace(std::move(key), gfx::measureText(text, font)).first->second;
}

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
    return measureOnce(text(), font);
}

void GenericLabel::takeFont(const gfx::Font& font, core::Size size) {
    m_pendingFont.reset();
    setBounds({bounds().origin, size});
    setFont(font);
    setTransform(core::AffineTransform::identity());
}

} // namespace zm
