#include "tools/components-harness/MenuScreen.h"

#include "platform/ui/NavigationController.h"
#include "tools/components-harness/ButtonGrid.h"

namespace zm {

std::shared_ptr<MenuScreen> MenuScreen::create(std::vector<Entry> entries) {
    auto menu = std::shared_ptr<MenuScreen>(new MenuScreen(std::move(entries)));
    menu->setTitle("Components");
    return menu;
}

void MenuScreen::viewDidLoad() {
    view()->setBackgroundColor(core::Color::rgb255(235, 238, 242));
    std::vector<ButtonGrid::Item> items;
    for (const Entry& entry : m_entries)
        items.push_back({entry.title, [this, make = entry.make] {
                             if (ui::NavigationController* navigation = navigationController())
                                 navigation->pushViewController(make(), true);
                         }});
    view()->addSubview(ButtonGrid::create({20, 20}, std::move(items), 1, {200, 44}));
}

} // namespace zm
