#include "platform/ui/NavigationBar.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float kButtonInset = 8;
constexpr float kButtonMaxWidth = 120;
const core::Color kTint = core::Color::rgb255(0, 122, 255);

std::shared_ptr<Button> makeBarButton() {
    auto button = Button::create();
    button->setTitleColor(kTint);
    button->setTitleColor(core::Color::rgb255(150, 195, 255), ControlState::Highlighted);
    button->titleLabel().setFont(gfx::Font::system(17));
    button->setHidden(true);
    return button;
}

} // namespace

std::shared_ptr<NavigationBar> NavigationBar::create(const core::Rect& frame) {
    return std::shared_ptr<NavigationBar>(new NavigationBar(frame));
}

NavigationBar::NavigationBar(const core::Rect& frame)
    : View(frame)
    , m_titleLabel(Label::create())
    , m_backButton(makeBarButton())
    , m_rightButton(makeBarButton()) {
    setContentMode(ContentMode::Redraw);
    m_titleLabel->setFont(gfx::Font::boldSystem(17));
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setTextColor(core::Color::black());
    m_rightButton->addTarget(ControlEvent::TouchUpInside, [this](Control&) {
        if (m_rightItem)
            m_rightItem->trigger();
    });
    addSubview(m_titleLabel);
    addSubview(m_backButton);
    addSubview(m_rightButton);
}

void NavigationBar::setItems(const std::string& title, const std::optional<std::string>& backTitle,
                             std::shared_ptr<BarButtonItem> right) {
    m_titleLabel->setText(title);
    m_backButton->setHidden(!backTitle);
    m_backButton->setTitle("\u2039 " + (backTitle && !backTitle->empty() ? *backTitle : std::string("Back")));
    m_rightItem = std::move(right);
    m_rightButton->setHidden(!m_rightItem);
    if (m_rightItem) {
        m_rightButton->setTitle(m_rightItem->title());
        m_rightButton->titleLabel().setFont(m_rightItem->style() == BarButtonItem::Style::Done
                                                ? gfx::Font::boldSystem(17)
                                                : gfx::Font::system(17));
    }
    setNeedsLayout();
}

void NavigationBar::layoutSubviews() {
    const core::Rect area = bounds();
    const auto buttonWidth = [&area](const Button& button) {
        return std::min(button.sizeThatFits(area.size).width + 2 * kButtonInset, kButtonMaxWidth);
    };
    const float back = m_backButton->isHidden() ? 0 : buttonWidth(*m_backButton);
    const float right = m_rightButton->isHidden() ? 0 : buttonWidth(*m_rightButton);
    m_backButton->setFrame({kButtonInset / 2, 0, back, area.height()});
    m_rightButton->setFrame({area.width() - right - kButtonInset / 2, 0, right, area.height()});
    const float side = std::max(back, right) + kButtonInset;
    m_titleLabel->setFrame({side, 0, std::max(0.0f, area.width() - 2 * side), area.height()});
}

void NavigationBar::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    canvas.setFillColor(core::Color::white(0.97f));
    canvas.fillRect(area);
    canvas.setFillColor(core::Color::white(0.7f));
    canvas.fillRect({area.minX(), area.maxY() - 0.5f, area.width(), 0.5f});
}

} // namespace ui
