#pragma once

// Internal to platform/gfx: the Pango side of text. Not for use outside this folder.

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gfx/Text.h"

#include <memory>
#include <mutex>

#include <pango/pangocairo.h>

namespace gfx::detail {

// Pango's font map and its caches are shared by every thread; every use of them, from building a
// layout to drawing its glyphs, happens while holding this lock.
[[nodiscard]] std::unique_lock<std::mutex> lockText();

// A font description for the font, or nullptr for a size that cannot be drawn (zero, negative or
// not a number). Needs the text lock.
struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using FontDescription = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
FontDescription describe(const Font& font);

// The one Pango context over the registry's fonts: 72 dots per inch (one point is one unit),
// unhinted outlines and unrounded glyph positions, so that a layout measures the same at any
// scale it is later drawn at. Needs the text lock.
PangoContext* context();

// Text laid out into lines, with its colours. Needs the text lock while it is made, used and destroyed
// (not in between).
class TextLayout {
public:
    // Lines no wider than `width` (unlimited: lines break only at line feeds); when truncating, no
    // taller than `height` unless the style limits the lines. Runs without a colour of their own
    // take `colour`; every alpha is multiplied by `alpha`.
    TextLayout(const AttributedText& text, float width, float height, const TextStyle& style,
               const core::Color& colour = core::Color::black(), float alpha = 1);

    // The size of the lines that are shown.
    core::Size size() const;
    // Draws the shown lines with the layout's top-left corner at `origin`; lines clear of the clip are
    // passed over.
    void draw(cairo_t* cr, core::Point origin) const;
    // The top of the caret before the character at byte `index` of the laid-out text (its size for
    // the end).
    core::Point caretAt(size_t index) const;
    // The byte index of the caret position nearest to `point`, staying on the line the point is on.
    size_t indexAt(core::Point point) const;

private:
    struct LayoutDeleter {
        void operator()(PangoLayout* layout) const { g_object_unref(layout); }
    };

    int shownLineCount() const;

    std::unique_ptr<PangoLayout, LayoutDeleter> m_layout;
    int m_maxLines;
};

} // namespace gfx::detail
