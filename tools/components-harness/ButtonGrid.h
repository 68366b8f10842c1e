#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zm {

// Rows of labelled buttons, each running its action: the harness's control panel. Titles are single
// words, so that a touch script can name them ("tap @Ring").
class ButtonGrid : public ui::View {
public:
    struct Item {
        std::string title;
        std::function<void()> action;
    };

    // `columns` buttons a row, each `buttonSize` with `spacing` between them.
    static std::shared_ptr<ButtonGrid> create(core::Point origin, std::vector<Item> items, int columns,
                                              core::Size buttonSize = {92, 34}, float spacing = 6);

private:
    ButtonGrid(core::Point origin, std::vector<Item> items, int columns, core::Size buttonSize, float spacing);
};

} // namespace zm
