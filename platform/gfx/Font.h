#pragma once

#include <optional>
#include <string_view>

namespace gfx {

struct FontFace;

// A face of the font registry at a point size. Cheap to copy; faces live for the whole program.
class Font {
public:
    // The font of that name at that size, or nothing when the registry has no such face. A family's
    // name ("Helvetica Neue") names the family's regular face, as font lists hand over a family's font.
    static std::optional<Font> named(std::string_view name, float pointSize);
    static Font system(float pointSize);
    static Font boldSystem(float pointSize);

    std::string_view name() const;
    std::string_view familyName() const;
    float pointSize() const { return m_pointSize; }
    const FontFace& face() const { return *m_face; }

    // The same face at another size.
    Font withSize(float pointSize) const { return Font(*m_face, pointSize); }

    // Vertical metrics, in points: the ascender above the baseline, the descender below it (a
    // positive number) and the height of one line of text.
    float ascender() const;
    float descender() const;
    float lineHeight() const;

    bool operator==(const Font& other) const = default;

private:
    Font(const FontFace& face, float pointSize)
        : m_face(&face)
        , m_pointSize(pointSize) {}

    const FontFace* m_face;
    float m_pointSize;
};

} // namespace gfx
