#include "platform/gfx/FontMap.h"

#include "platform/core/Log.h"
#include "platform/gfx/FontRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

// Pango's own constructor of metrics: exported, though its header no longer declares it for font
// back ends outside Pango.
extern "C" PangoFontMetrics* pango_font_metrics_new();

namespace gfx::detail {
namespace {

// Font sets kept for reuse; text in more sizes than this makes the oldest again when it comes back.
constexpr size_t kKeptFontsets = 256;

int toUnits(double value) {
    return static_cast<int>(std::floor(value * PANGO_SCALE + 0.5));
}

// A font file as fontconfig prepared it for a request: which file, how to draw it (a slant or
// emboldening it adds for a face the file lacks) and which characters it has.
class FontFile {
public:
    explicit FontFile(FcPattern* prepared)
        : m_pattern(prepared) {
        FcChar8* path = nullptr;
        FcPatternGetString(prepared, FC_FILE, 0, &path);
        m_path = path ? reinterpret_cast<const char*>(path) : "";
        int index = 0;
        FcPatternGetInteger(prepared, FC_INDEX, 0, &index);
        hb_blob_t* blob = hb_blob_create_from_file(m_path.c_str());
        m_hbFace = hb_face_create(blob, static_cast<unsigned>(index));
        hb_blob_destroy(blob);
        m_face = cairo_ft_font_face_create_for_pattern(prepared);
        FcMatrix matrix;
        FcMatrixInit(&matrix);
        FcMatrix* extra = nullptr;
        for (int i = 0; FcPatternGetMatrix(prepared, FC_MATRIX, i, &extra) == FcResultMatch; ++i) {
            FcMatrixMultiply(&matrix, &matrix, extra);
        }
        cairo_matrix_init(&m_shape, matrix.xx, -matrix.yx, -matrix.xy, matrix.yy, 0, 0);
        FcPatternGetCharSet(prepared, FC_CHARSET, 0, &m_charset);
        m_description = pango_fc_font_description_from_pattern(prepared, false);
    }
    ~FontFile() {
        pango_font_description_free(m_description);
        if (m_coverage) {
            g_object_unref(m_coverage);
        }
        cairo_font_face_destroy(m_face);
        hb_face_destroy(m_hbFace);
        FcPatternDestroy(m_pattern);
    }
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    const FcPattern* pattern() const { return m_pattern; }
    const std::string& path() const { return m_path; }
    cairo_font_face_t* face() const { return m_face; }
    hb_face_t* hbFace() const { return m_hbFace; }
    // The turn, slant or stretch fontconfig puts on the outlines, for a size of 1.
    const cairo_matrix_t& shape() const { return m_shape; }
    const PangoFontDescription* description() const { return m_description; }

    bool hasCharacter(gunichar character) const {
        return m_charset && FcCharSetHasChar(m_charset, character);
    }

    PangoCoverage* coverage() {
        if (!m_coverage) {
            m_coverage = pango_coverage_new();
            if (m_charset) {
                FcChar32 page[FC_CHARSET_MAP_SIZE];
                FcChar32 next = 0;
                for (FcChar32 base = FcCharSetFirstPage(m_charset, page, &next); base != FC_CHARSET_DONE;
                     base = FcCharSetNextPage(m_charset, page, &next)) {
                    for (int word = 0; word < FC_CHARSET_MAP_SIZE; ++word) {
                        for (int bit = 0; bit < 32; ++bit) {
                            if (page[word] & (FcChar32(1) << bit)) {
                                pango_coverage_set(m_coverage, int(base + FcChar32(word) * 32 + FcChar32(bit)),
                                                   PANGO_COVERAGE_EXACT);
                            }
                        }
                    }
                }
            }
        }
        return m_coverage;
    }

private:
    FcPattern* m_pattern;
    std::string m_path;
    hb_face_t* m_hbFace;
    cairo_font_face_t* m_face;
    cairo_matrix_t m_shape;
    FcCharSet* m_charset = nullptr; // the pattern's
    PangoFontDescription* m_description;
    PangoCoverage* m_coverage = nullptr;
};

// ---- A font: one file at one size, with its measurements kept.

struct GlyphExtents {
    PangoRectangle ink;
    int advance;
};

struct MapFont {
    PangoFont parent;
    FontFile* file;
    int size; // in Pango units
    PangoFontMap* map;
    cairo_scaled_font_t* scaled;
    PangoRectangle lineExtents; // the logical box of every glyph, but its width
    // Made on first use, for each language's sample text (the text the average widths are taken from).
    std::vector<std::pair<const char*, PangoFontMetrics*>>* metrics;
    std::unordered_map<PangoGlyph, GlyphExtents>* glyphs;
};

struct MapFontClass {
    PangoFontClass parent;
};

GType mapFontType();
GObjectClass* g_mapFontParent = nullptr;

MapFont* asMapFont(PangoFont* font) {
    return G_TYPE_CHECK_INSTANCE_CAST(font, mapFontType(), MapFont);
}

void finalizeMapFont(GObject* object) {
    MapFont* font = G_TYPE_CHECK_INSTANCE_CAST(object, mapFontType(), MapFont);
    cairo_scaled_font_destroy(font->scaled);
    for (const auto& [sample, metrics] : *font->metrics) {
        pango_font_metrics_unref(metrics);
    }
    delete font->metrics;
    delete font->glyphs;
    g_mapFontParent->finalize(object);
}

PangoFontDescription* describeMapFont(PangoFont* font) {
    const MapFont* self = asMapFont(font);
    PangoFontDescription* description = pango_font_description_copy(self->file->description());
    pango_font_description_set_absolute_size(description, self->size);
    return description;
}

PangoCoverage* mapFontCoverage(PangoFont* font, PangoLanguage*) {
    return static_cast<PangoCoverage*>(g_object_ref(asMapFont(font)->file->coverage()));
}

// A character no file has is shown as a box about half an em wide.
PangoRectangle missingGlyphBox(const MapFont& font) {
    const int width = font.size / 2;
    return {width / 8, font.lineExtents.y + font.lineExtents.height / 8, width - width / 4,
            font.lineExtents.height - font.lineExtents.height / 4};
}

void mapFontGlyphExtents(PangoFont* font, PangoGlyph glyph, PangoRectangle* ink, PangoRectangle* logical) {
    MapFont* self = asMapFont(font);
    GlyphExtents extents{{0, 0, 0, 0}, 0};
    if (glyph == PANGO_GLYPH_EMPTY) {
        // nothing to show, no advance
    } else if (glyph & PANGO_GLYPH_UNKNOWN_FLAG) {
        if ((glyph & ~PANGO_GLYPH_UNKNOWN_FLAG) != 0x20) {
            extents.ink = missingGlyphBox(*self);
        }
        extents.advance = self->size / 2;
    } else if (auto found = self->glyphs->find(glyph); found != self->glyphs->end()) {
        extents = found->second;
    } else {
        const cairo_glyph_t cairoGlyph{glyph, 0, 0};
        cairo_text_extents_t text;
        cairo_scaled_font_glyph_extents(self->scaled, &cairoGlyph, 1, &text);
        extents = {{toUnits(text.x_bearing), toUnits(text.y_bearing), toUnits(text.width), toUnits(text.height)},
                   toUnits(text.x_advance)};
        self->glyphs->emplace(glyph, extents);
    }
    if (ink) {
        *ink = extents.ink;
    }
    if (logical) {
        *logical = self->lineExtents;
        logical->width = extents.advance;
    }
}

// The widest advance among the glyphs of a layout's first line.
int widestGlyph(PangoLayout* layout) {
    int widest = 0;
    for (const GSList* node = pango_layout_get_line_readonly(layout, 0)->runs; node; node = node->next) {
        const PangoGlyphString* glyphs = static_cast<const PangoGlyphItem*>(node->data)->glyphs;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            widest = std::max(widest, glyphs->glyphs[i].geometry.width);
        }
    }
    return widest;
}

// Metrics as Pango's own fonts give them: heights from the font's extents; average widths from
// the language's sample text laid out in this font, with Pango's default rounding (the line
// breaker uses the average width to decide which breaks near the edge to shape and check). The
// metrics are kept before the sample is laid out, which asks for them again.
PangoFontMetrics* makeMetrics(PangoFont* font, PangoLanguage* language, const char* sample) {
    MapFont* self = asMapFont(font);
    hb_font_extents_t extents{};
    hb_font_get_extents_for_direction(pango_font_get_hb_font(font), HB_DIRECTION_LTR, &extents);
    const double yy = self->file->shape().yy;
    PangoFontMetrics* metrics = pango_font_metrics_new();
    metrics->ascent = static_cast<int>(extents.ascender * yy);
    metrics->descent = static_cast<int>(-extents.descender * yy);
    metrics->height = static_cast<int>((extents.ascender - extents.descender + extents.line_gap) * yy);
    metrics->underline_thickness = PANGO_SCALE;
    metrics->underline_position = -PANGO_SCALE;
    metrics->strikethrough_thickness = PANGO_SCALE;
    metrics->strikethrough_position = metrics->ascent / 2;
    self->metrics->emplace_back(sample, metrics);

    PangoContext* context = pango_font_map_create_context(self->map);
    pango_context_set_language(context, language);
    pango_cairo_context_set_font_options(context, fontOptions());
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* description = pango_font_describe_with_absolute_size(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    pango_layout_set_text(layout, sample, -1);
    PangoRectangle sampleExtents;
    pango_layout_get_extents(layout, nullptr, &sampleExtents);
    metrics->approximate_char_width = sampleExtents.width / std::max(1, int(g_utf8_strlen(sample, -1)));
    pango_layout_set_text(layout, "0123456789", -1);
    metrics->approximate_digit_width = widestGlyph(layout);
    g_object_unref(layout);
    g_object_unref(context);
    return metrics;
}

PangoFontMetrics* mapFontMetrics(PangoFont* font, PangoLanguage* language) {
    MapFont* self = asMapFont(font);
    const char* sample = pango_language_get_sample_string(language);
    auto found = std::ranges::find(*self->metrics, sample, &std::pair<const char*, PangoFontMetrics*>::first);
    return pango_font_metrics_ref(found != self->metrics->end() ? found->second
                                                                : makeMetrics(font, language, sample));
}

PangoFontMap* mapFontMap(PangoFont* font) {
    return asMapFont(font)->map;
}

hb_font_t* createHbFont(PangoFont* font) {
    const MapFont* self = asMapFont(font);
    // Pango units per em, so that shaping answers in Pango units; a slanted or stretched face scales
    // its advances as its outlines.
    const cairo_matrix_t& shape = self->file->shape();
    const double xScale = std::hypot(shape.xx, shape.yx);
    const double yScale = xScale == 0 ? 0 : (shape.xx * shape.yy - shape.xy * shape.yx) / xScale;
    hb_font_t* hbFont = hb_font_create(self->file->hbFace());
    hb_font_set_scale(hbFont, static_cast<int>(self->size * xScale), static_cast<int>(self->size * yScale));
    hb_font_set_ptem(hbFont, float(self->size) / PANGO_SCALE);
    return hbFont;
}

void initMapFontClass(gpointer klass, gpointer) {
    g_mapFontParent = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalizeMapFont;
    auto* fontClass = static_cast<PangoFontClass*>(klass);
    fontClass->describe = describeMapFont;
    fontClass->describe_absolute = describeMapFont;
    fontClass->get_coverage = mapFontCoverage;
    fontClass->get_glyph_extents = mapFontGlyphExtents;
    fontClass->get_metrics = mapFontMetrics;
    fontClass->get_font_map = mapFontMap;
    fontClass->create_hb_font = createHbFont;
}

GType mapFontType() {
    static const GType type = [] {
        const GTypeInfo info{sizeof(MapFontClass), nullptr, nullptr, initMapFontClass, nullptr, nullptr,
                             sizeof(MapFont), 0, nullptr, nullptr};
        return g_type_register_static(PANGO_TYPE_FONT, "GfxMapFont", &info, GTypeFlags(0));
    }();
    return type;
}

PangoFont* newMapFont(PangoFontMap* map, FontFile& file, int size) {
    auto* font = static_cast<MapFont*>(g_object_new(mapFontType(), nullptr));
    font->file = &file;
    font->size = size;
    font->map = map;
    font->glyphs = new std::unordered_map<PangoGlyph, GlyphExtents>;
    font->metrics = new std::vector<std::pair<const char*, PangoFontMetrics*>>;
    cairo_matrix_t fontMatrix = file.shape();
    cairo_matrix_scale(&fontMatrix, double(size) / PANGO_SCALE, double(size) / PANGO_SCALE);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    font->scaled = cairo_scaled_font_create(file.face(), &fontMatrix, &identity, fontOptions());
    hb_font_extents_t extents{};
    hb_font_get_extents_for_direction(pango_font_get_hb_font(PANGO_FONT(font)), HB_DIRECTION_LTR, &extents);
    font->lineExtents = {0, -extents.ascender, 0, extents.ascender - extents.descender};
    return PANGO_FONT(font);
}

// ---- A font set: the files standing for one request, at one size, made into fonts as needed.

struct MapFontset {
    PangoFontset parent;
    const std::vector<FontFile*>* files; // the requested face's file first, then those standing in
    int size;
    PangoLanguage* language;
    std::vector<PangoFont*>* fonts; // made on first use
};

struct MapFontsetClass {
    PangoFontsetClass parent;
};

GType mapFontsetType();
GObjectClass* g_mapFontsetParent = nullptr;

MapFontset* asMapFontset(PangoFontset* fontset) {
    return G_TYPE_CHECK_INSTANCE_CAST(fontset, mapFontsetType(), MapFontset);
}

PangoFont* fontAt(MapFontset& fontset, size_t index);

void finalizeMapFontset(GObject* object) {
    MapFontset* fontset = G_TYPE_CHECK_INSTANCE_CAST(object, mapFontsetType(), MapFontset);
    for (PangoFont* font : *fontset->fonts) {
        if (font) {
            g_object_unref(font);
        }
    }
    delete fontset->fonts;
    g_mapFontsetParent->finalize(object);
}

// The first font that has the character, else the requested face's, which shows it as missing.
PangoFont* mapFontsetFont(PangoFontset* fontset, guint character) {
    MapFontset* self = asMapFontset(fontset);
    if (self->files->empty()) {
        return nullptr;
    }
    size_t chosen = 0;
    for (size_t i = 0; i < self->files->size(); ++i) {
        if ((*self->files)[i]->hasCharacter(character)) {
            chosen = i;
            break;
        }
    }
    return PANGO_FONT(g_object_ref(fontAt(*self, chosen)));
}

PangoLanguage* mapFontsetLanguage(PangoFontset* fontset) {
    return asMapFontset(fontset)->language;
}

void forEachMapFont(PangoFontset* fontset, PangoFontsetForeachFunc function, gpointer data) {
    MapFontset* self = asMapFontset(fontset);
    for (size_t i = 0; i < self->files->size(); ++i) {
        if (function(fontset, fontAt(*self, i), data)) {
            return;
        }
    }
}

void initMapFontsetClass(gpointer klass, gpointer) {
    g_mapFontsetParent = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalizeMapFontset;
    auto* fontsetClass = static_cast<PangoFontsetClass*>(klass);
    fontsetClass->get_font = mapFontsetFont;
    fontsetClass->get_language = mapFontsetLanguage;
    fontsetClass->foreach = forEachMapFont;
}

GType mapFontsetType() {
    static const GType type = [] {
        const GTypeInfo info{sizeof(MapFontsetClass), nullptr, nullptr, initMapFontsetClass, nullptr, nullptr,
                             sizeof(MapFontset), 0, nullptr, nullptr};
        return g_type_register_static(PANGO_TYPE_FONTSET, "GfxMapFontset", &info, GTypeFlags(0));
    }();
    return type;
}

// ---- What the map knows: the files, what each request found, and the fonts and sets made so far.

// A request as fontconfig sees it; the size does not choose among scalable files.
using Request = std::tuple<std::string, int, int, int, std::string>;

class Catalog {
public:
    explicit Catalog(PangoFontMap* map)
        : m_map(map)
        , m_config(FcConfigCreate()) {
        for (const FontFace& face : FontRegistry::faces()) {
            const std::string file(face.file);
            if (!FcConfigAppFontAddFile(m_config, reinterpret_cast<const FcChar8*>(file.c_str()))) {
                core::logf(core::LogLevel::Error, "font file %s is missing; scripts/setup installs it",
                           file.c_str());
            }
        }
    }

    PangoFontset* fontset(PangoContext* context, const PangoFontDescription* description,
                          PangoLanguage* language) {
        const std::vector<FontFile*>& files = filesFor(description, language);
        const Key key{&files, sizeOf(context, description)};
        ++m_uses;
        if (auto found = m_fontsets.find(key); found != m_fontsets.end()) {
            found->second.lastUse = m_uses;
            return PANGO_FONTSET(g_object_ref(found->second.fontset));
        }
        if (m_fontsets.size() >= kKeptFontsets) {
            forgetOldestFontset();
        }
        auto* fontset = static_cast<MapFontset*>(g_object_new(mapFontsetType(), nullptr));
        fontset->files = &files;
        fontset->size = key.second;
        fontset->language = language;
        fontset->fonts = new std::vector<PangoFont*>(files.size(), nullptr);
        m_fontsets.emplace(key, Kept{PANGO_FONTSET(fontset), m_uses});
        return PANGO_FONTSET(g_object_ref(fontset));
    }

    // The file at that size, one font object for each (a run's items stay whole across requests).
    PangoFont* font(FontFile& file, int size) {
        PangoFont*& font = m_fonts[{&file, size}];
        if (!font) {
            font = newMapFont(m_map, file, size);
        }
        return PANGO_FONT(g_object_ref(font));
    }

private:
    using Key = std::pair<const std::vector<FontFile*>*, int>;
    struct Kept {
        PangoFontset* fontset;
        std::uint64_t lastUse;
    };

    static int sizeOf(PangoContext* context, const PangoFontDescription* description) {
        double size = pango_font_description_get_size(description);
        if (!pango_font_description_get_size_is_absolute(description)) {
            size = size * pango_cairo_context_get_resolution(context) / 72;
        }
        return static_cast<int>(0.5 + size);
    }

    const std::vector<FontFile*>& filesFor(const PangoFontDescription* description, PangoLanguage* language) {
        const char* family = pango_font_description_get_family(description);
        const Request request{family ? family : "", pango_font_description_get_weight(description),
                              pango_font_description_get_style(description),
                              pango_font_description_get_stretch(description),
                              language ? pango_language_to_string(language) : ""};
        auto found = m_requests.find(request);
        if (found == m_requests.end()) {
            found = m_requests.emplace(request, match(request)).first;
        }
        return found->second;
    }

    // The requested face's best file, then every other file in the order fontconfig prefers them
    // for characters that one lacks.
    std::vector<FontFile*> match(const Request& request) {
        const auto& [family, weight, style, stretch, language] = request;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
        FcPatternAddInteger(pattern, FC_SLANT,
                            style == PANGO_STYLE_ITALIC    ? FC_SLANT_ITALIC
                            : style == PANGO_STYLE_OBLIQUE ? FC_SLANT_OBLIQUE
                                                           : FC_SLANT_ROMAN);
        FcPatternAddInteger(pattern, FC_WIDTH, fcWidth(stretch));
        FcPatternAddBool(pattern, FC_VARIABLE, FcDontCare);
        size_t start = 0;
        while (start <= family.size()) {
            const size_t end = std::min(family.find(',', start), family.size());
            FcPatternAddString(pattern, FC_FAMILY,
                               reinterpret_cast<const FcChar8*>(family.substr(start, end - start).c_str()));
            start = end + 1;
        }
        if (!language.empty()) {
            FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language.c_str()));
        }
        FcConfigSubstitute(m_config, pattern, FcMatchPattern);
        cairo_ft_font_options_substitute(fontOptions(), pattern);
        FcDefaultSubstitute(pattern);

        std::vector<FontFile*> files;
        FcResult result = FcResultMatch;
        if (FcPattern* best = FcFontMatch(m_config, pattern, &result)) {
            files.push_back(&file(best));
        }
        if (FcFontSet* sorted = FcFontSort(m_config, pattern, FcFalse, nullptr, &result)) {
            for (int i = 1; i < sorted->nfont; ++i) {
                if (FcPattern* prepared = FcFontRenderPrepare(m_config, pattern, sorted->fonts[i])) {
                    files.push_back(&file(prepared));
                }
            }
            FcFontSetDestroy(sorted);
        }
        FcPatternDestroy(pattern);
        return files;
    }

    // The file of a prepared pattern, kept once for every way of drawing it.
    FontFile& file(FcPattern* prepared) {
        for (const auto& known : m_files) {
            if (FcPatternEqual(known->pattern(), prepared)) {
                FcPatternDestroy(prepared);
                return *known;
            }
        }
        return *m_files.emplace_back(std::make_unique<FontFile>(prepared));
    }

    static int fcWidth(int stretch) {
        constexpr int kWidths[] = {FC_WIDTH_ULTRACONDENSED, FC_WIDTH_EXTRACONDENSED, FC_WIDTH_CONDENSED,
                                   FC_WIDTH_SEMICONDENSED,  FC_WIDTH_NORMAL,         FC_WIDTH_SEMIEXPANDED,
                                   FC_WIDTH_EXPANDED,       FC_WIDTH_EXTRAEXPANDED,  FC_WIDTH_ULTRAEXPANDED};
        return kWidths[std::clamp(stretch, 0, 8)];
    }

    // Drops the set used longest ago, and the fonts no set or layout holds any more.
    void forgetOldestFontset() {
        const auto oldest = std::ranges::min_element(
            m_fontsets, [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
        g_object_unref(oldest->second.fontset);
        m_fontsets.erase(oldest);
        std::erase_if(m_fonts, [](const auto& entry) {
            if (G_OBJECT(entry.second)->ref_count > 1) {
                return false;
            }
            g_object_unref(entry.second);
            return true;
        });
    }

    PangoFontMap* m_map;
    FcConfig* m_config;
    std::vector<std::unique_ptr<FontFile>> m_files;
    std::map<Request, std::vector<FontFile*>> m_requests;
    std::map<std::pair<const FontFile*, int>, PangoFont*> m_fonts;
    std::map<Key, Kept> m_fontsets;
    std::uint64_t m_uses = 0;
};

Catalog& catalog() {
    static Catalog* const instance = new Catalog(fontMap()); // lives as long as the program
    return *instance;
}

PangoFont* fontAt(MapFontset& fontset, size_t index) {
    PangoFont*& font = (*fontset.fonts)[index];
    if (!font) {
        font = catalog().font(*(*fontset.files)[index], fontset.size);
    }
    return font;
}

// ---- The map itself.

struct MapFontMap {
    PangoFontMap parent;
};

struct MapFontMapClass {
    PangoFontMapClass parent;
};

PangoFontset* loadFontset(PangoFontMap*, PangoContext* context, const PangoFontDescription* description,
                          PangoLanguage* language) {
    return catalog().fontset(context, description, language);
}

PangoFont* loadFont(PangoFontMap* map, PangoContext* context, const PangoFontDescription* description) {
    PangoFontset* fontset = loadFontset(map, context, description, pango_context_get_language(context));
    MapFontset* self = asMapFontset(fontset);
    PangoFont* font = self->files->empty() ? nullptr : PANGO_FONT(g_object_ref(fontAt(*self, 0)));
    g_object_unref(fontset);
    return font;
}

void listFamilies(PangoFontMap*, PangoFontFamily*** families, int* count) {
    if (families) {
        *families = nullptr;
    }
    if (count) {
        *count = 0;
    }
}

guint mapSerial(PangoFontMap*) {
    return 1; // the files never change
}

void initMapFontMapClass(gpointer klass, gpointer) {
    auto* mapClass = static_cast<PangoFontMapClass*>(klass);
    mapClass->load_font = loadFont;
    mapClass->load_fontset = loadFontset;
    mapClass->list_families = listFamilies;
    mapClass->get_serial = mapSerial;
}

GType mapFontMapType() {
    static const GType type = [] {
        const GTypeInfo info{sizeof(MapFontMapClass), nullptr, nullptr, initMapFontMapClass, nullptr, nullptr,
                             sizeof(MapFontMap), 0, nullptr, nullptr};
        return g_type_register_static(PANGO_TYPE_FONT_MAP, "GfxMapFontMap", &info, GTypeFlags(0));
    }();
    return type;
}

cairo_font_options_t* makeFontOptions() {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    return options;
}

void drawMissingGlyph(cairo_t* cr, const MapFont& font, double x, double y) {
    const PangoRectangle box = missingGlyphBox(font);
    const double line = std::max(1.0, double(font.size) / PANGO_SCALE / 16);
    cairo_rectangle(cr, x + double(box.x) / PANGO_SCALE + line / 2, y + double(box.y) / PANGO_SCALE + line / 2,
                    double(box.width) / PANGO_SCALE - line, double(box.height) / PANGO_SCALE - line);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
}

} // namespace

PangoFontMap* fontMap() {
    static PangoFontMap* const map = PANGO_FONT_MAP(g_object_new(mapFontMapType(), nullptr));
    return map;
}

const cairo_font_options_t* fontOptions() {
    static const cairo_font_options_t* const options = makeFontOptions();
    return options;
}

void drawGlyphs(cairo_t* cr, PangoFont* font, const PangoGlyphString& glyphs, double x, double y) {
    const MapFont& self = *asMapFont(font);
    std::vector<cairo_glyph_t> shown;
    shown.reserve(size_t(glyphs.num_glyphs));
    int position = 0;
    for (int i = 0; i < glyphs.num_glyphs; ++i) {
        const PangoGlyphInfo& glyph = glyphs.glyphs[i];
        const double glyphX = x + double(position + glyph.geometry.x_offset) / PANGO_SCALE;
        const double glyphY = glyph.geometry.y_offset == 0 ? y : y + double(glyph.geometry.y_offset) / PANGO_SCALE;
        position += glyph.geometry.width;
        if (glyph.glyph == PANGO_GLYPH_EMPTY || glyph.glyph == (0x20 | PANGO_GLYPH_UNKNOWN_FLAG)) {
            continue;
        }
        if (glyph.glyph & PANGO_GLYPH_UNKNOWN_FLAG) {
            drawMissingGlyph(cr, self, glyphX, glyphY);
            continue;
        }
        shown.push_back({glyph.glyph, glyphX, glyphY});
    }
    cairo_set_scaled_font(cr, self.scaled);
    cairo_show_glyphs(cr, shown.data(), static_cast<int>(shown.size()));
}

std::string_view fontFile(PangoFont* font) {
    return asMapFont(font)->file->path();
}

} // namespace gfx::detail
