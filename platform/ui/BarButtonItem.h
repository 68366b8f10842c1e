#pragma once

#include "platform/ui/InterfaceObject.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {

class Toolbar;

// A button of a toolbar: a title that runs an action when tapped, or a space between buttons. The bar
// that shows an item follows its changes (a retitled back item).
class BarButtonItem : public InterfaceObject, public std::enable_shared_from_this<BarButtonItem> {
public:
    using Action = std::function<void(BarButtonItem& item)>;

    enum class Style { Plain, Done };
    // The bar's own items: spaces, and buttons with the platform's titles.
    enum class SystemItem { None, FlexibleSpace, FixedSpace, Done, Cancel };

    static std::shared_ptr<BarButtonItem> create(std::string title = {}, Style style = Style::Plain,
                                                 Action action = {});
    static std::shared_ptr<BarButtonItem> create(SystemItem item, Action action = {});

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    Style style() const { return m_style; }
    void setStyle(Style style);
    SystemItem systemItem() const { return m_systemItem; }
    // Takes the system item's title and style too.
    void setSystemItem(SystemItem item);
    bool isSpace() const {
        return m_systemItem == SystemItem::FlexibleSpace || m_systemItem == SystemItem::FixedSpace;
    }
    // The width of a fixed space (or of a button, when not 0).
    float width() const { return m_width; }
    void setWidth(float width);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void setAction(Action action) { m_action = std::move(action); }
    // Runs the action as a tap does.
    void trigger();

    // Interface files give items one kind of action, without an event name.
    core::Status connectAction(std::string_view event, std::function<void()> action) override;

private:
    friend class Toolbar;

    BarButtonItem() = default;
    void changed();

    std::string m_title;
    Style m_style = Style::Plain;
    SystemItem m_systemItem = SystemItem::None;
    float m_width = 0;
    bool m_enabled = true;
    int m_tag = 0;
    Action m_action;
    Toolbar* m_bar = nullptr; // the bar showing the item, which forgets it before it goes
};

} // namespace ui
