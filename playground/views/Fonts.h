#pragma once

#include "platform/gfx/Font.h"

#include <string_view>

namespace zm {

// The font every spacing unit is measured in, and the default fonts of numbers and variables.
inline constexpr std::string_view kGeorgia = "Georgia";
inline constexpr std::string_view kGeorgiaItalic = "Georgia-Italic";

// The face of that name at `size`; the system font when the game has no such face. A size below one
// point is drawn at one point.
gfx::Font fontNamed(std::string_view name, float size);

// The spacing unit at a font size: half the width of one space character in the named font.
float halfSpaceWidth(std::string_view fontName, float size);

} // namespace zm
