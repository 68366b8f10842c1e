#include "platform/ui/Button.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/ui/Label.h"

namespace ui {

namespace {

unsigned key(ControlState state) {
    return static_cast<unsigned>(state);
}

} // namespace

std::shared_ptr<Button> Button::create(const core::Rect& frame) {
    return std::shared_ptr<Button>(new Button(frame));
}

Button::Button(const core::Rect& frame)
    : Control(frame)
    , m_titleLabel(Label::create()) {
    // Background images with cap insets keep their borders only when drawn again at the new size.
    setContentMode(ContentMode::Redraw);
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setFont(gfx::Font::system(15));
    addSubview(m_titleLabel);
    updateTitle();
}

template <class T> const T* Button::lookUp(const std::map<unsigned, T>& looks, ControlState state) {
    auto found = looks.find(key(state));
    if (found == looks.end())
        found = looks.find(key(ControlState::Normal));
    return found == looks.end() ? nullptr : &found->second;
}

void Button::setTitle(std::string title, ControlState state) {
    m_titles[key(state)] = std::move(title);
    updateTitle();
}

std::optional<std::string> Button::title(ControlState state) const {
    const auto found = m_titles.find(key(state));
    return found == m_titles.end() ? std::nullopt : std::optional(found->second);
}

std::string Button::currentTitle() const {
    const std::string* title = lookUp(m_titles, state());
    return title ? *title : std::string();
}

void Button::setTitleColor(const core::Color& color, ControlState state) {
    m_titleColors[key(state)] = color;
    updateTitle();
}

std::optional<core::Color> Button::titleColor(ControlState state) const {
    const auto found = m_titleColors.find(key(state));
    return found == m_titleColors.end() ? std::nullopt : std::optional(found->second);
}

core::Color Button::currentTitleColor() const {
    const core::Color* color = lookUp(m_titleColors, state());
    return color ? *color : core::Color::white();
}

void Button::setBackgroundImage(std::shared_ptr<const gfx::Image> image, ControlState state) {
    m_backgroundImages[key(state)] = std::move(image);
    setNeedsDisplay();
}

std::shared_ptr<const gfx::Image> Button::backgroundImage(ControlState state) const {
    const auto found = m_backgroundImages.find(key(state));
    return found == m_backgroundImages.end() ? nullptr : found->second;
}

std::shared_ptr<const gfx::Image> Button::currentBackgroundImage() const {
    const auto* image = lookUp(m_backgroundImages, state());
    return image ? *image : nullptr;
}

void Button::setContentEdgeInsets(const EdgeInsets& insets) {
    m_contentInsets = insets;
    setNeedsLayout();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets) {
    m_titleInsets = insets;
    setNeedsLayout();
}

core::Rect Button::titleRect() const {
    return m_titleInsets.inset(m_contentInsets.inset(bounds()));
}

core::Size Button::sizeThatFits(core::Size) const {
    const core::Size title = m_titleLabel->sizeThatFits({});
    return {title.width + m_contentInsets.left + m_contentInsets.right + m_titleInsets.left +
                m_titleInsets.right,
            title.height + m_contentInsets.top + m_contentInsets.bottom + m_titleInsets.top +
                m_titleInsets.bottom};
}

void Button::updateTitle() {
    m_titleLabel->setText(currentTitle());
    m_titleLabel->setTextColor(currentTitleColor());
}

void Button::stateDidChange() {
    updateTitle();
    Control::stateDidChange();
}

void Button::layoutSubviews() {
    m_titleLabel->setFrame(titleRect());
    // Keep the title above subviews that code or interface files add.
    bringSubviewToFront(*m_titleLabel);
}

void Button::draw(gfx::Canvas& canvas) {
    const std::shared_ptr<const gfx::Image> image = currentBackgroundImage();
    if (!image)
        return View::draw(canvas);
    canvas.drawImage(*image, bounds());
}

} // namespace ui
