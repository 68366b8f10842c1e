#pragma once

#include "platform/ui/Label.h"

#include <memory>
#include <string_view>

namespace zm {

// The mark beside the chosen row of the colour and font lists.
inline constexpr std::string_view kCheckMark = "\u2714";

// A label for that mark: large, on no ground of its own.
inline std::shared_ptr<ui::Label> makeMarkLabel(const core::Rect& frame) {
    auto mark = ui::Label::create(frame);
    mark->setFont(gfx::Font::system(24));
    mark->setBackgroundColor(core::Color::clear());
    return mark;
}

} // namespace zm
