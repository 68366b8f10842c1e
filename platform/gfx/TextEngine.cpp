#include "platform/gfx/TextEngine.h"

#include "platform/core/Log.h"
#include "platform/gfx/FontRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

namespace gfx::detail {
namespace {

// A font map that knows exactly the registry's font files and nothing of the machine's own
// fontconfig set-up, so that layout never depends on what else is installed.
PangoFontMap* makeFontMap() {
    FcConfig* config = FcConfigCreate();
    for (const FontFace& face : FontRegistry::faces()) {
        const std::string file(face.file);
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str()))) {
            core::logf(core::LogLevel::Error, "font file %s is missing; scripts/setup installs it",
                       file.c_str());
        }
    }
    PangoFontMap* fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
    FcConfigDestroy(config); // the font map keeps its own reference
    return fontMap;
}

PangoContext* makeContext() {
    PangoFontMap* fontMap = makeFontMap();
    PangoContext* context = pango_font_map_create_context(fontMap);
    g_object_unref(fontMap); // the context holds it
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
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
            cairo_move_to(cr, origin.x + fromPango(logical.x),
                          origin.y + fromPango(pango_layout_iter_get_baseline(iter)));
            pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(iter));
        }
        pango_layout_iter_next_line(iter);
    }
    pango_layout_iter_free(iter);
}

} // namespace gfx::detail
