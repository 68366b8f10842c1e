#include "platform/ui/StandInSheet.h"

#include "platform/ui/Toolbar.h"

namespace ui {

std::shared_ptr<View> makeStandInSheet(const std::string& actionTitle, std::function<void()> cancel,
                                       std::function<void()> action) {
    auto root = View::create({{0, 0}, kStandInSheetSize});
    root->setBackgroundColor(core::Color::white());
    auto bar = Toolbar::create({0, 0, kStandInSheetSize.width, Toolbar::kHeight});
    bar->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    bar->setItems({BarButtonItem::create(BarButtonItem::SystemItem::Cancel,
                                         [cancel = std::move(cancel)](BarButtonItem&) { cancel(); }),
                   BarButtonItem::create(BarButtonItem::SystemItem::FlexibleSpace),
                   BarButtonItem::create(actionTitle, BarButtonItem::Style::Done,
                                         [action = std::move(action)](BarButtonItem&) { action(); })});
    root->addSubview(bar);
    return root;
}

} // namespace ui
