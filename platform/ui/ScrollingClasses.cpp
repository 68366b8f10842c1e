#include "platform/core/Log.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PlatformClasses.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"

namespace ui {

using namespace property;

namespace {

// A setter that changes one part of a collection view's flow layout.
Setter<CollectionView> flow(std::function<core::Status(FlowLayout&, const core::Value&)> change) {
    return [change = std::move(change)](CollectionView& view, const core::Value& value,
                                        PropertyContext&) -> core::Status {
        FlowLayout layout = view.flowLayout();
        if (core::Status changed = change(layout, value); !changed)
            return changed;
        view.setFlowLayout(layout);
        return {};
    };
}

Setter<CollectionView> flowSpacing(float FlowLayout::*field) {
    return flow([field](FlowLayout& layout, const core::Value& value) -> core::Status {
        if (!value.isNumber() || value.kind() == core::Value::Kind::Bool)
            return expected("a number");
        layout.*field = value.floatValue();
        return {};
    });
}

// {"LabelCell": OBJECT, ...}: each identifier's cells are made from its description.
core::Status registerPrototypes(CollectionView& view, const core::Value& value, PropertyContext& context) {
    const core::Dictionary* prototypes = value.asDictionary();
    if (!prototypes)
        return expected("an object of reuse identifiers to cell descriptions");
    for (const core::Dictionary::Entry& entry : prototypes->entries()) {
        view.registerCell(entry.key, [make = context.prototype(entry.value), identifier = entry.key] {
            std::shared_ptr<View> made = make();
            auto cell = std::dynamic_pointer_cast<CollectionViewCell>(made);
            if (made && !cell)
                core::log(core::LogLevel::Error,
                          "cell prototype " + identifier + " is not a collection view cell");
            return cell;
        });
    }
    return {};
}

void registerScrollView(ClassRegistry& registry) {
    registry.registerClass<ScrollView, View>("ScrollView", "View", [] { return ScrollView::create(); });
    registry.registerProperty<ScrollView>("ScrollView", "contentSize", size(&ScrollView::setContentSize));
    registry.registerProperty<ScrollView>("ScrollView", "contentInset", insets(&ScrollView::setContentInset));
    registry.registerProperty<ScrollView>("ScrollView", "scrollEnabled", flag(&ScrollView::setScrollEnabled));
    registry.registerProperty<ScrollView>("ScrollView", "pagingEnabled", flag(&ScrollView::setPagingEnabled));
    registry.registerProperty<ScrollView>("ScrollView", "bounces", flag(&ScrollView::setBounces));
    registry.registerProperty<ScrollView>("ScrollView", "alwaysBounceHorizontal",
                                          flag(&ScrollView::setAlwaysBounceHorizontal));
    registry.registerProperty<ScrollView>("ScrollView", "alwaysBounceVertical",
                                          flag(&ScrollView::setAlwaysBounceVertical));
    registry.registerProperty<ScrollView>("ScrollView", "delaysContentTouches",
                                          flag(&ScrollView::setDelaysContentTouches));
    registry.registerProperty<ScrollView>("ScrollView", "canCancelContentTouches",
                                          flag(&ScrollView::setCanCancelContentTouches));
    registry.registerProperty<ScrollView>("ScrollView", "showsHorizontalScrollIndicator",
                                          flag(&ScrollView::setShowsHorizontalScrollIndicator));
    registry.registerProperty<ScrollView>("ScrollView", "showsVerticalScrollIndicator",
                                          flag(&ScrollView::setShowsVerticalScrollIndicator));
}

void registerCollectionView(ClassRegistry& registry) {
    registry.registerClass<CollectionView, ScrollView>("CollectionView", "ScrollView",
                                                       [] { return CollectionView::create(); });
    registry.registerProperty<CollectionView>(
        "CollectionView", "scrollDirection",
        flow([](FlowLayout& layout, const core::Value& value) -> core::Status {
            const std::string* direction = value.asString();
            if (!direction || (*direction != "horizontal" && *direction != "vertical"))
                return expected("one of horizontal, vertical");
            layout.scrollDirection =
                *direction == "horizontal" ? ScrollDirection::Horizontal : ScrollDirection::Vertical;
            return {};
        }));
    registry.registerProperty<CollectionView>(
        "CollectionView", "itemSize", flow([](FlowLayout& layout, const core::Value& value) -> core::Status {
            core::Result<core::Size> read = size(value);
            if (!read)
                return read.error();
            layout.itemSize = *read;
            return {};
        }));
    registry.registerProperty<CollectionView>(
        "CollectionView", "sectionInset",
        flow([](FlowLayout& layout, const core::Value& value) -> core::Status {
            core::Result<EdgeInsets> read = edgeInsets(value);
            if (!read)
                return read.error();
            layout.sectionInset = *read;
            return {};
        }));
    registry.registerProperty<CollectionView>("CollectionView", "minimumLineSpacing",
                                              flowSpacing(&FlowLayout::minimumLineSpacing));
    registry.registerProperty<CollectionView>("CollectionView", "minimumInteritemSpacing",
                                              flowSpacing(&FlowLayout::minimumInteritemSpacing));
    registry.registerProperty<CollectionView>("CollectionView", "allowsSelection",
                                              flag(&CollectionView::setAllowsSelection));
    registry.registerProperty<CollectionView>("CollectionView", "prototypes", registerPrototypes);

    registry.registerClass<CollectionViewCell, View>("CollectionViewCell", "View",
                                                     [] { return CollectionViewCell::create(); });
}

// The cell's title.
core::Status cellText(TableViewCell& cell, const core::Value& value, PropertyContext&) {
    const std::string* text = value.asString();
    if (!text)
        return expected("a text");
    cell.textLabel().setText(*text);
    return {};
}

// [OBJECT, ...]: views of the cell's content, laid out in the content view (which has the cell's size
// when the file makes it), so that they make room for the accessory and fade with the content.
core::Status addContentSubviews(TableViewCell& cell, const core::Value& value, PropertyContext& context) {
    const core::Array* descriptions = value.asArray();
    if (!descriptions)
        return expected("a list of views");
    for (const core::Value& description : *descriptions) {
        core::Result<std::shared_ptr<InterfaceObject>> made = context.makeObject(description);
        if (!made)
            return made.error();
        auto view = std::dynamic_pointer_cast<View>(*made);
        if (!view)
            return expected("views");
        cell.contentView().addSubview(std::move(view));
    }
    return {};
}

void registerTableView(ClassRegistry& registry) {
    registry.registerClass<TableView, ScrollView>("TableView", "ScrollView",
                                                  [] { return TableView::create(); });
    registry.registerProperty<TableView>(
        "TableView", "style",
        choice(&TableView::setStyle,
               {{"plain", TableView::Style::Plain}, {"grouped", TableView::Style::Grouped}}));
    registry.registerProperty<TableView>("TableView", "rowHeight", number(&TableView::setRowHeight));

    registry.registerClass<TableViewCell, View>("TableViewCell", "View",
                                                [] { return TableViewCell::create(); });
    registry.registerProperty<TableViewCell>(
        "TableViewCell", "accessoryType",
        choice(&TableViewCell::setAccessoryType,
               {{"none", TableViewCell::Accessory::None},
                {"disclosureIndicator", TableViewCell::Accessory::DisclosureIndicator},
                {"detailDisclosureButton", TableViewCell::Accessory::DetailDisclosureButton},
                {"checkmark", TableViewCell::Accessory::Checkmark}}));
    registry.registerProperty<TableViewCell>("TableViewCell", "text", cellText);
    registry.registerProperty<TableViewCell>("TableViewCell", "contentSubviews", addContentSubviews);
    registry.registerProperty<TableViewCell>(
        "TableViewCell", "selectionStyle",
        choice(&TableViewCell::setSelectionStyle, {{"none", TableViewCell::SelectionStyle::None},
                                                   {"default", TableViewCell::SelectionStyle::Default}}));
}

} // namespace

void registerScrollingClasses(ClassRegistry& registry) {
    registerScrollView(registry);
    registerCollectionView(registry);
    registerTableView(registry);
}

} // namespace ui
