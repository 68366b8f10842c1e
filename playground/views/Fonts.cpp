#include "playground/views/Fonts.h"

#include "platform/gfx/Text.h"

namespace zm {

gfx::Font fontNamed(std::string_view name, float size) {
    const float pointSize = size >= 1 ? size : 1; // also for a size that is not a number
    if (std::optional<gfx::Font> font = gfx::Font::named(name, pointSize))
        return *font;
    return gfx::Font::system(pointSize);
}

float halfSpaceWidth(std::string_view fontName, float size) {
    return gfx::measureText(" ", fontNamed(fontName, size)).width / 2;
}

} // namespace zm
