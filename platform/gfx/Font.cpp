#include "platform/gfx/Font.h"

#include "platform/gfx/FontMap.h"
#include "platform/gfx/FontRegistry.h"
#include "platform/gfx/TextEngine.h"

namespace gfx {
namespace {

struct Metrics {
    float ascender = 0;
    float descender = 0;
};

Metrics metrics(const Font& font) {
    auto lock = detail::lockText();
    detail::FontDescription description = detail::describe(font);
    if (!description) {
        return {};
    }
    PangoFont* loaded = pango_font_map_load_font(detail::fontMap(), detail::context(), description.get());
    if (!loaded) {
        return {};
    }
    PangoFontMetrics* pangoMetrics = pango_font_get_metrics(loaded, pango_context_get_language(detail::context()));
    Metrics result{static_cast<float>(pango_font_metrics_get_ascent(pangoMetrics)) / PANGO_SCALE,
                   static_cast<float>(pango_font_metrics_get_descent(pangoMetrics)) / PANGO_SCALE};
    pango_font_metrics_unref(pangoMetrics);
    g_object_unref(loaded);
    return result;
}

} // namespace

std::optional<Font> Font::named(std::string_view name, float pointSize) {
    const FontFace* face = FontRegistry::face(name);
    if (!face) {
        face = FontRegistry::regularFace(name);
    }
    if (!face) {
        return std::nullopt;
    }
    return Font(*face, pointSize);
}

Font Font::system(float pointSize) {
    return Font(FontRegistry::systemFace(), pointSize);
}

Font Font::boldSystem(float pointSize) {
    return Font(FontRegistry::boldSystemFace(), pointSize);
}

std::string_view Font::name() const {
    return m_face->name;
}

std::string_view Font::familyName() const {
    return m_face->familyName;
}

float Font::ascender() const {
    return metrics(*this).ascender;
}

float Font::descender() const {
    return metrics(*this).descender;
}

float Font::lineHeight() const {
    // Measured like any text, so that a line of text is exactly this high.
    auto lock = detail::lockText();
    return detail::TextLayout(AttributedText(" ", *this), kUnlimitedWidth, kUnlimitedWidth, {}).size().height;
}

} // namespace gfx
