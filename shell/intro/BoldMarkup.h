#pragma once

#include "platform/gfx/Text.h"

#include <string_view>

namespace zm {

// Text with phrases marked "<b>...</b>" (in any letter case) set in `marked`, the rest in `plain`, the
// marks themselves left out. A mark that is not closed stays as it is written.
gfx::AttributedText boldMarkupText(std::string_view text, const gfx::Font& plain, const gfx::Font& marked);

} // namespace zm
