#include "platform/ui/PlatformClasses.h"
#include "platform/ui/Toolbar.h"

namespace ui {

using namespace property;

namespace {

// [ITEM, ...]: the bar's items, each an object of the file.
core::Status setItems(Toolbar& toolbar, const core::Value& value, PropertyContext& context) {
    const core::Array* descriptions = value.asArray();
    if (!descriptions)
        return expected("a list of bar button items");
    std::vector<std::shared_ptr<BarButtonItem>> items;
    for (const core::Value& description : *descriptions) {
        core::Result<std::shared_ptr<InterfaceObject>> made = context.makeObject(description);
        if (!made)
            return made.error();
        auto item = std::dynamic_pointer_cast<BarButtonItem>(*made);
        if (!item)
            return expected("bar button items");
        items.push_back(std::move(item));
    }
    toolbar.setItems(std::move(items));
    return {};
}

} // namespace

void registerBarClasses(ClassRegistry& registry) {
    registry.registerClass<BarButtonItem>("BarButtonItem", "", [] { return BarButtonItem::create(); });
    registry.registerProperty<BarButtonItem>("BarButtonItem", "title", text(&BarButtonItem::setTitle));
    registry.registerProperty<BarButtonItem>(
        "BarButtonItem", "style",
        choice(&BarButtonItem::setStyle,
               {{"plain", BarButtonItem::Style::Plain}, {"done", BarButtonItem::Style::Done}}));
    registry.registerProperty<BarButtonItem>(
        "BarButtonItem", "systemItem",
        choice(&BarButtonItem::setSystemItem, {{"flexibleSpace", BarButtonItem::SystemItem::FlexibleSpace},
                                               {"fixedSpace", BarButtonItem::SystemItem::FixedSpace},
                                               {"done", BarButtonItem::SystemItem::Done},
                                               {"cancel", BarButtonItem::SystemItem::Cancel}}));
    registry.registerProperty<BarButtonItem>("BarButtonItem", "width", number(&BarButtonItem::setWidth));
    registry.registerProperty<BarButtonItem>("BarButtonItem", "enabled", flag(&BarButtonItem::setEnabled));
    registry.registerProperty<BarButtonItem>("BarButtonItem", "tag", number(&BarButtonItem::setTag));

    registry.registerClass<Toolbar, View>("Toolbar", "View", [] { return Toolbar::create(); });
    registry.registerProperty<Toolbar>("Toolbar", "items", setItems);
    registry.registerProperty<Toolbar>("Toolbar", "tintColor", color(&Toolbar::setTintColor));
}

} // namespace ui
