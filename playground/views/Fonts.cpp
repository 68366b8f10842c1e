#include "playground/views/Fonts.h"

#include "platform/gfx/Text.h"

#include <string>

namespace zm {

gfx::Font fontNamed(std::string_view name, float size) {
    const float pointSize = size >= 1 ? size : 1; // also for a size that is not a number
    if (std::optional<gfx::Font> font = gfx::Font::named(name, pointSize))
        return *font;
    return gfx::Font::system(pointSize);
}

float halfSpaceWidth(std::string_view fontName, float size) {
    // Asked for the same font and size again and again while a view tree is built.
    struct Last {
        std::string fontName;
        float size = -1;
        float halfSpace = 0;
    };
    thread_local Last last;
    if (last.size != size || last.fontName != fontName)
        last = {std::string(fontName), size, gfx::measureText(" ", fontNamed(fontName, size)).width / 2};
    return last.halfSpace;
}

} // namespace zm
