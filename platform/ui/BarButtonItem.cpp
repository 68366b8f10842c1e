#include "platform/ui/BarButtonItem.h"

#include "platform/core/Error.h"
#include "platform/ui/Toolbar.h"

namespace ui {

std::shared_ptr<BarButtonItem> BarButtonItem::create(std::string title, Style style, Action action) {
    auto item = std::shared_ptr<BarButtonItem>(new BarButtonItem);
    item->m_title = std::move(title);
    item->m_style = style;
    item->m_action = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::create(SystemItem systemItem, Action action) {
    auto item = create({}, Style::Plain, std::move(action));
    item->setSystemItem(systemItem);
    return item;
}

void BarButtonItem::setTitle(std::string title) {
    m_title = std::move(title);
    changed();
}

void BarButtonItem::setStyle(Style style) {
    m_style = style;
    changed();
}

void BarButtonItem::setSystemItem(SystemItem item) {
    m_systemItem = item;
    if (item == SystemItem::Done) {
        m_title = "Done";
        m_style = Style::Done;
    } else if (item == SystemItem::Cancel) {
        m_title = "Cancel";
    }
    changed();
}

void BarButtonItem::setWidth(float width) {
    m_width = std::max(0.0f, width);
    changed();
}

void BarButtonItem::setEnabled(bool enabled) {
    m_enabled = enabled;
    changed();
}

void BarButtonItem::trigger() {
    if (!m_enabled || isSpace() || !m_action)
        return;
    // The action may drop the last reference to the item.
    const std::shared_ptr<BarButtonItem> keep = shared_from_this();
    const Action action = m_action;
    action(*this);
}

core::Status BarButtonItem::connectAction(std::string_view event, std::function<void()> action) {
    if (!event.empty())
        return core::Error{"ui.interface", 5, "bar button items take actions without an event", {}};
    m_action = [action = std::move(action)](BarButtonItem&) { action(); };
    return {};
}

void BarButtonItem::changed() {
    if (m_bar)
        m_bar->updateButtons();
}

} // namespace ui
