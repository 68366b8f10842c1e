#pragma once

// Internal to platform/gfx: the fonts Pango lays text out in. Not for use outside this folder.

#include <string_view>

#include <cairo.h>
#include <pango/pango.h>

namespace gfx::detail {

// The one font map over the registry's font files. Fontconfig is asked once for each face that is
// requested (which file draws it, and which files stand in for characters it lacks); a font at a
// new size is then made from what was found, and keeps its measurements. Pango's own font map asks
// fontconfig again for every size, each time on two new threads. Fonts and font sets live as long
// as the map, up to a bound. Everything here needs the text lock.
PangoFontMap* fontMap();

// The rendering options every font is made with: unhinted outlines and unrounded metrics, so that
// text measures the same at any scale it is drawn at.
const cairo_font_options_t* fontOptions();

// Draws a run's glyphs, in `font` of fontMap(), from (x, y) on the baseline. Characters that no file
// has are drawn as empty boxes.
void drawGlyphs(cairo_t* cr, PangoFont* font, const PangoGlyphString& glyphs, double x, double y);

// The font file that a font of fontMap() draws from.
std::string_view fontFile(PangoFont* font);

} // namespace gfx::detail
