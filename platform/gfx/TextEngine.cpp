#include "platform/gfx/TextEngine.h"

#include "platform/gfx/FontMap.h"
#include "platform/gfx/FontRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gfx::detail {
namespace {

PangoContext* makeContext() {
    PangoContext* context = pango_font_map_create_context(fontMap());
    pango_cairo_context_set_font_options(context, fontOptions());
    pango_cairo_context_set_resolution(context, 72);
    pango_context_set_round_glyph_positions(context, false);
    // Line breaking and fallback fonts follow the language: fix it rather than take it from LANG.
    pango_context_set_language(context, pango_language_from_string("en"));
    pango_context_set_base_dir(context, PANGO_DIRECTION_LTR);
    return context;
}

// Pango needs valid UTF-8 without NUL; anything else is shown as replacement characters.
std::string validUtf8(const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        return text;
    }
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

guint16 channel(float value) {
    return static_cast<guint16>(std::lround(std::clamp(value, 0.0f, 1.0f) * 65535));
}

void insert(PangoAttrList* list, PangoAttribute* attribute, guint start, guint end) {
    attribute->start_index = start;
    attribute->end_index = end;
    pango_attr_list_insert(list, attribute);
}

void addColour(PangoAttrList* list, const core::Color& colour, float alpha, guint start, guint end) {
    insert(list,
           pango_attr_foreground_new(channel(colour.red()), channel(colour.green()), channel(colour.blue())),
           start, end);
    // Pango reads an alpha of 0 as "not set"; the faintest alpha it knows is as good as none.
    insert(list, pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(colour.alpha() * alpha))),
           start, end);
}

PangoWrapMode wrapMode(LineBreakMode mode) {
    return mode == LineBreakMode::CharWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR;
}

PangoEllipsizeMode ellipsizeMode(LineBreakMode mode) {
    switch (mode) {
    case LineBreakMode::TruncateHead:
        return PANGO_ELLIPSIZE_START;
    case LineBreakMode::TruncateMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    case LineBreakMode::TruncateTail:
        return PANGO_ELLIPSIZE_END;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

PangoAlignment alignment(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Center:
        return PANGO_ALIGN_CENTER;
    case TextAlignment::Right:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

bool isUsableLength(float length) {
    return std::isfinite(length) && length > 0;
}

float fromPango(int units) {
    return static_cast<float>(units) / PANGO_SCALE;
}

int toPango(float length) {
    return static_cast<int>(std::lround(length * PANGO_SCALE));
}

// A run's colour, as Pango's attributes give it; without any, the source stays as it is.
void setRunColour(cairo_t* cr, const PangoItem& item) {
    const PangoColor* colour = nullptr;
    guint16 alpha = 0;
    for (const GSList* node = item.analysis.extra_attrs; node; node = node->next) {
        const auto* attribute = static_cast<const PangoAttribute*>(node->data);
        if (attribute->klass->type == PANGO_ATTR_FOREGROUND) {
            colour = &reinterpret_cast<const PangoAttrColor*>(attribute)->color;
        } else if (attribute->klass->type == PANGO_ATTR_FOREGROUND_ALPHA) {
            alpha = static_cast<guint16>(reinterpret_cast<const PangoAttrInt*>(attribute)->value);
        }
    }
    if (!colour && alpha == 0) {
        return;
    }
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;
    if (colour) {
        red = colour->red / 65535.;
        green = colour->green / 65535.;
        blue = colour->blue / 65535.;
    } else if (cairo_pattern_get_type(cairo_get_source(cr)) == CAIRO_PATTERN_TYPE_SOLID) {
        cairo_pattern_get_rgba(cairo_get_source(cr), &red, &green, &blue, &opacity);
    }
    if (alpha != 0) {
        opacity = alpha / 65535.;
    }
    cairo_set_source_rgba(cr, red, green, blue, opacity);
}

// Draws a line's runs from (x, y) on its baseline, each in its own colour.
void drawLine(cairo_t* cr, const PangoLayoutLine& line, double x, double y) {
    int offset = 0;
    for (const GSList* node = line.runs; node; node = node->next) {
        const auto* run = static_cast<const PangoGlyphItem*>(node->data);
        offset += run->start_x_offset;
        if (run->item->analysis.font) {
            cairo_save(cr);
            setRunColour(cr, *run->item);
            drawGlyphs(cr, run->item->analysis.font, *run->glyphs, x + double(offset) / PANGO_SCALE,
                       y + double(-run->y_offset) / PANGO_SCALE);
            cairo_restore(cr);
        }
        offset += pango_glyph_string_get_width(run->glyphs) + run->end_x_offset;
    }
}

} // namespace

std::unique_lock<std::mutex> lockText() {
    static std::mutex mutex;
    return std::unique_lock(mutex);
}

PangoContext* context() {
    static PangoContext* const context = makeContext(); // lives as long as the program
    return context;
}

FontDescription describe(const Font& font) {
    if (!isUsableLength(font.pointSize())) {
        return nullptr;
    }
    const FontFace& face = font.face();
    FontDescription description(pango_font_description_new());
    pango_font_description_set_family(description.get(), std::string(face.installedFamily).c_str());
    pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(face.weight));
    pango_font_description_set_style(description.get(),
                                     face.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(), font.pointSize() * PANGO_SCALE);
    return description;
}

TextLayout::TextLayout(const AttributedText& text, float width, float height, const TextStyle& style,
                       const core::Color& colour, float alpha)
    : m_layout(pango_layout_new(context()))
    , m_maxLines(std::max(style.maxLines, 0)) {
    std::string utf8;
    PangoAttrList* attributes = pango_attr_list_new();
    for (const TextRun& run : text.runs()) {
        FontDescription description = describe(run.font);
        if (!description) {
            continue; // a run at a size that cannot be drawn takes no room
        }
        const auto start = static_cast<guint>(utf8.size());
        utf8 += validUtf8(run.text);
        const auto end = static_cast<guint>(utf8.size());
        insert(attributes, pango_attr_font_desc_new(description.get()), start, end);
        if (!run.font.face().features.empty()) {
            insert(attributes, pango_attr_font_features_new(std::string(run.font.face().features).c_str()),
                   start, end);
        }
        addColour(attributes, run.color.value_or(colour), alpha, start, end);
    }
    pango_layout_set_text(m_layout.get(), utf8.data(), static_cast<int>(utf8.size()));
    pango_layout_set_attributes(m_layout.get(), attributes);
    pango_attr_list_unref(attributes);

    pango_layout_set_alignment(m_layout.get(), detail::alignment(style.alignment));
    if (isUsableLength(width)) {
        pango_layout_set_width(m_layout.get(), toPango(width));
        pango_layout_set_wrap(m_layout.get(), wrapMode(style.lineBreak));
        pango_layout_set_ellipsize(m_layout.get(), ellipsizeMode(style.lineBreak));
        // A negative height counts lines. Without a limit, lines are only ellipsized when they
        // would pass the bottom of the rectangle (never, when it has none).
        if (m_maxLines > 0) {
            pango_layout_set_height(m_layout.get(), -m_maxLines);
        } else {
            pango_layout_set_height(m_layout.get(), isUsableLength(height) ? toPango(height) : G_MAXINT);
        }
    }
}

core::Point TextLayout::caretAt(size_t index) const {
    const char* text = pango_layout_get_text(m_layout.get());
    const size_t length = std::strlen(text);
    PangoRectangle strong;
    pango_layout_get_cursor_pos(m_layout.get(), static_cast<int>(std::min(index, length)), &strong, nullptr);
    return {fromPango(strong.x), fromPango(strong.y)};
}

size_t TextLayout::indexAt(core::Point point) const {
    int index = 0;
    int trailing = 0;
    pango_layout_xy_to_index(m_layout.get(), toPango(point.x), toPango(point.y), &index, &trailing);
    if (trailing == 0)
        return size_t(index);
    // Past the middle of a character: the caret goes after it, unless that is where the next line
    // starts (the character ends a wrapped line), which would move the caret off the line touched.
    const char* text = pango_layout_get_text(m_layout.get());
    const auto after = static_cast<int>(g_utf8_offset_to_pointer(text + index, trailing) - text);
    int line = 0;
    int lineAfter = 0;
    pango_layout_index_to_line_x(m_layout.get(), index, false, &line, nullptr);
    pango_layout_index_to_line_x(m_layout.get(), after, false, &lineAfter, nullptr);
    const bool endOfText = size_t(after) >= std::strlen(text);
    return size_t(lineAfter == line || endOfText ? after : index);
}

int TextLayout::shownLineCount() const {
    const int lines = pango_layout_get_line_count(m_layout.get());
    return m_maxLines > 0 ? std::min(lines, m_maxLines) : lines;
}

core::Size TextLayout::size() const {
    if (pango_layout_get_character_count(m_layout.get()) == 0) {
        return {};
    }
    int width = 0;
    int bottom = 0;
    PangoLayoutIter* iter = pango_layout_get_iter(m_layout.get());
    for (int line = 0; line < shownLineCount(); ++line) {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        width = std::max(width, logical.width);
        bottom = logical.y + logical.height;
        pango_layout_iter_next_line(iter);
    }
    pango_layout_iter_free(iter);
    return {fromPango(width), fromPango(bottom)};
}

void TextLayout::draw(cairo_t* cr, core::Point origin) const {
    double clipLeft = 0;
    double clipTop = 0;
    double clipRight = 0;
    double clipBottom = 0;
    cairo_clip_extents(cr, &clipLeft, &clipTop, &clipRight, &clipBottom);
    PangoLayoutIter* iter = pango_layout_get_iter(m_layout.get());
    for (int line = 0; line < shownLineCount(); ++line) {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        // Glyphs may reach past their line's box, but not by a whole line's height.
        const double top = origin.y + fromPango(logical.y - logical.height);
        const double bottom = origin.y + fromPango(logical.y + 2 * logical.height);
        if (top > clipBottom) {
            break;
        }
        if (bottom >= clipTop) {
            // The line starts at the current point, which cairo keeps to 1/256 of a pixel.
            cairo_move_to(cr, origin.x + fromPango(logical.x),
                          origin.y + fromPango(pango_layout_iter_get_baseline(iter)));
            double x = 0;
            double y = 0;
            cairo_get_current_point(cr, &x, &y);
            drawLine(cr, *pango_layout_iter_get_line_readonly(iter), x, y);
        }
        pango_layout_iter_next_line(iter);
    }
    pango_layout_iter_free(iter);
}

} // namespace gfx::detail
