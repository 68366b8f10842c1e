#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

// One face that the game asks for by name ("Georgia-Italic"), and the installed font file that
// draws it. Callers only ever see `name` and `familyName`; the rest says how to find the file.
struct FontFace {
    std::string_view name;            // the name callers use, answered as the font's name
    std::string_view familyName;      // the family callers see, answered as the font's family
    std::string_view file;            // the installed font file, from a Debian package
    std::string_view installedFamily; // the file's own family name, used to select it
    int weight;                       // CSS weight, 100 (thin) to 900 (black)
    bool italic;
    std::string_view features; // OpenType features always switched on (Pango syntax), or empty
};

// The fixed set of faces the game draws with. Nothing else on the machine is used, so text
// measures the same on every machine that has the packages of scripts/packages/gfx.list.
class FontRegistry {
public:
    FontRegistry() = delete;

    static std::span<const FontFace> faces();
    // The face of that exact name, or nullptr when the game has no such font.
    static const FontFace* face(std::string_view name);
    static const FontFace& systemFace();
    static const FontFace& boldSystemFace();

    // Family names in the order of the table, each once.
    static std::vector<std::string> familyNames();
    // The names of the faces of a family; empty for an unknown family.
    static std::vector<std::string> fontNames(std::string_view familyName);
    // The family's upright face of normal weight (else its first face); nullptr for an unknown family.
    static const FontFace* regularFace(std::string_view familyName);
};

} // namespace gfx
