#include "platform/ui/Toolbar.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float edgeMargin = 8;
constexpr float buttonPadding = 8; // beside a button's title
const core::Color barColor = core::Color::rgba(0.97f, 0.97f, 0.97f, 0.95f);
const core::Color hairlineColor = core::Color::rgba(0, 0, 0, 0.3f);
const core::Color disabledColor = core::Color::rgb255(199, 199, 204);

} // namespace

std::shared_ptr<Toolbar> Toolbar::create(const core::Rect& frame) {
    return std::shared_ptr<Toolbar>(new Toolbar(frame));
}

Toolbar::Toolbar(const core::Rect& frame)
    : View(frame) {
    setContentMode(ContentMode::Redraw);
}

Toolbar::~Toolbar() {
    release();
}

void Toolbar::release() {
    for (const std::shared_ptr<BarButtonItem>& item : m_items) {
        if (item->m_bar == this)
            item->m_bar = nullptr;
    }
}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items) {
    release();
    m_items = std::move(items);
    std::erase(m_items, nullptr);
    // An item shows in one bar at a time.
    for (const std::shared_ptr<BarButtonItem>& item : m_items) {
        if (item->m_bar && item->m_bar != this)
            item->m_bar->forget(*item);
        item->m_bar = this;
    }
    updateButtons();
}

void Toolbar::forget(const BarButtonItem& item) {
    std::erase_if(m_items, [&](const std::shared_ptr<BarButtonItem>& kept) { return kept.get() == &item; });
    updateButtons();
}

void Toolbar::setTintColor(const core::Color& color) {
    m_tintColor = color;
    updateButtons();
}

Button* Toolbar::buttonFor(const BarButtonItem& item) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == &item)
            return m_buttons[i].get();
    }
    return nullptr;
}

void Toolbar::updateButtons() {
    for (const std::shared_ptr<Button>& button : m_buttons) {
        if (button)
            button->removeFromSuperview();
    }
    m_buttons.clear();
    for (const std::shared_ptr<BarButtonItem>& item : m_items) {
        if (item->isSpace()) {
            m_buttons.push_back(nullptr);
            continue;
        }
        auto button = Button::create();
        button->setTitle(item->title());
        button->setTitleColor(m_tintColor);
        button->setTitleColor(disabledColor, ControlState::Disabled);
        button->setTitleColor(m_tintColor.withAlpha(0.3f), ControlState::Highlighted);
        button->titleLabel().setFont(item->style() == BarButtonItem::Style::Done ? gfx::Font::boldSystem(17)
                                                                                 : gfx::Font::system(17));
        button->setEnabled(item->isEnabled());
        button->addTarget(ControlEvent::TouchUpInside, [weak = std::weak_ptr<BarButtonItem>(item)](Control&) {
            if (const std::shared_ptr<BarButtonItem> tapped = weak.lock())
                tapped->trigger();
        });
        addSubview(button);
        m_buttons.push_back(std::move(button));
    }
    setNeedsLayout();
}

void Toolbar::layoutSubviews() {
    const core::Rect area = bounds();
    // Widths first; flexible spaces share what the others leave.
    std::vector<float> widths(m_items.size(), 0);
    float used = 2 * edgeMargin;
    int flexible = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const BarButtonItem& item = *m_items[i];
        if (item.systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
            ++flexible;
            continue;
        }
        if (item.width() > 0 || item.isSpace())
            widths[i] = item.width();
        else
            widths[i] = m_buttons[i]->sizeThatFits(area.size).width + 2 * buttonPadding;
        used += widths[i];
    }
    const float share = flexible > 0 ? std::max(0.0f, area.width() - used) / float(flexible) : 0;
    float x = area.minX() + edgeMargin;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->systemItem() == BarButtonItem::SystemItem::FlexibleSpace)
            widths[i] = share;
        if (m_buttons[i])
            m_buttons[i]->setFrame({x, area.minY(), widths[i], area.height()});
        x += widths[i];
    }
}

void Toolbar::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    canvas.setFillColor(barColor);
    canvas.fillRect(area);
    canvas.setFillColor(hairlineColor);
    canvas.fillRect({area.minX(), area.minY(), area.width(), 0.5f});
}

} // namespace ui
