#include "platform/gfx/FontRegistry.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace gfx {
namespace {

// Paths are spelled out whole so that a grep for a font file finds its use.
constexpr std::array kFaces{
    // "Georgia" is drawn in EB Garamond: a serif of the same book tradition whose figures are
    // old-style by design. Expression views set runs of "6" and "8" lower in this family only;
    // that looks right only when those two digits rise above the others' x-height, as they do
    // with old-style figures. "onum" keeps them old-style even if a later version of the font
    // changed its default.
    FontFace{"Georgia", "Georgia", "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf",
             "EB Garamond", 400, false, "onum"},
    FontFace{"Georgia-Italic", "Georgia", "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Italic.otf",
             "EB Garamond", 400, true, "onum"},
    // Helvetica Neue, which is also the system font, is drawn in Roboto: a neo-grotesque with the
    // thin and light weights that the tutorial's texts need.
    FontFace{"HelveticaNeue", "Helvetica Neue",
             "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf", "Roboto", 400, false,
             ""},
    FontFace{"HelveticaNeue-Bold", "Helvetica Neue",
             "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Bold.ttf", "Roboto", 700, false, ""},
    FontFace{"HelveticaNeue-Light", "Helvetica Neue",
             "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Light.ttf", "Roboto", 300, false,
             ""},
    FontFace{"HelveticaNeue-Ultralight", "Helvetica Neue",
             "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Thin.ttf", "Roboto", 100, false, ""},
    // Verdana is drawn in DejaVu Sans, which shares its wide, open humanist design. DejaVu Sans also
    // covers the symbols (such as the check mark) that the other faces lack.
    FontFace{"Verdana", "Verdana", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans", 400,
             false, ""},
};

const FontFace& requiredFace(std::string_view name) {
    const FontFace* face = FontRegistry::face(name);
    assert(face);
    return *face;
}

} // namespace

std::span<const FontFace> FontRegistry::faces() {
    return kFaces;
}

const FontFace* FontRegistry::face(std::string_view name) {
    auto found = std::ranges::find(kFaces, name, &FontFace::name);
    return found == kFaces.end() ? nullptr : &*found;
}

const FontFace& FontRegistry::systemFace() {
    return requiredFace("HelveticaNeue");
}

const FontFace& FontRegistry::boldSystemFace() {
    return requiredFace("HelveticaNeue-Bold");
}

std::vector<std::string> FontRegistry::familyNames() {
    std::vector<std::string> names;
    for (const FontFace& face : kFaces) {
        if (std::ranges::find(names, face.familyName) == names.end()) {
            names.emplace_back(face.familyName);
        }
    }
    return names;
}

std::vector<std::string> FontRegistry::fontNames(std::string_view familyName) {
    std::vector<std::string> names;
    for (const FontFace& face : kFaces) {
        if (face.familyName == familyName) {
            names.emplace_back(face.name);
        }
    }
    return names;
}

const FontFace* FontRegistry::regularFace(std::string_view familyName) {
    const FontFace* first = nullptr;
    for (const FontFace& face : kFaces) {
        if (face.familyName != familyName) {
            continue;
        }
        if (face.weight == 400 && !face.italic) {
            return &face;
        }
        if (!first) {
            first = &face;
        }
    }
    return first;
}

} // namespace gfx
