#include "tools/components-harness/ButtonGrid.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace zm {

std::shared_ptr<ButtonGrid> ButtonGrid::create(core::Point origin, std::vector<Item> items, int columns,
                                               core::Size buttonSize, float spacing) {
    return std::shared_ptr<ButtonGrid>(new ButtonGrid(origin, std::move(items), columns, buttonSize, spacing));
}

ButtonGrid::ButtonGrid(core::Point origin, std::vector<Item> items, int columns, core::Size buttonSize, float spacing)
    : View({}) {
    const int count = int(items.size());
    const int rows = (count + columns - 1) / columns;
    const int across = std::min(count, columns);
    setFrame({origin.x, origin.y, float(across) * (buttonSize.width + spacing) - spacing,
              float(rows) * (buttonSize.height + spacing) - spacing});
    for (int index = 0; index < count; ++index) {
        const float x = float(index % columns) * (buttonSize.width + spacing);
        const float y = float(index / columns) * (buttonSize.height + spacing);
        auto button = ui::Button::create({x, y, buttonSize.width, buttonSize.height});
        button->setTitle(items[size_t(index)].title);
        button->setTitleColor(core::Color::white());
        button->setTitleColor(core::Color::rgb255(160, 200, 255), ui::ControlState::Highlighted);
        button->titleLabel().setFont(gfx::Font::boldSystem(13));
        button->setBackgroundColor(core::Color::rgb255(40, 70, 120));
        button->addTarget(ui::ControlEvent::TouchUpInside,
                          [action = std::move(items[size_t(index)].action)](ui::Control&) { action(); });
        addSubview(std::move(button));
    }
}

} // namespace zm
