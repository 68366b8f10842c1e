#pragma once

#include <string>

namespace core {

// Hue, saturation and brightness, each 0 to 1, with alpha.
struct HSBA {
    float hue = 0;
    float saturation = 0;
    float brightness = 0;
    float alpha = 1;
};

// An RGBA colour, components 0 to 1. A value type: copies compare equal by component. The one
// exception is `black()`: screens that pick artwork for "the black colour" ask `isBlackConstant()`,
// which a black made from components does not satisfy.
class Color {
public:
    // Clear: no colour at all.
    constexpr Color() = default;

    static constexpr Color rgba(float red, float green, float blue, float alpha = 1) {
        return Color(red, green, blue, alpha);
    }
    // Components on the 0 to 255 scale, as design tables write them.
    static constexpr Color rgb255(float red, float green, float blue, float alpha = 1) {
        return Color(red / 255, green / 255, blue / 255, alpha);
    }
    static constexpr Color white(float white, float alpha = 1) { return Color(white, white, white, alpha); }
    static Color fromHSB(const HSBA& hsba);

    static constexpr Color black() {
        Color color(0, 0, 0, 1);
        color.m_isBlackConstant = true;
        return color;
    }
    static constexpr Color white() { return white(1); }
    static constexpr Color clear() { return Color(0, 0, 0, 0); }

    constexpr float red() const { return m_red; }
    constexpr float green() const { return m_green; }
    constexpr float blue() const { return m_blue; }
    constexpr float alpha() const { return m_alpha; }

    constexpr Color withAlpha(float alpha) const { return Color(m_red, m_green, m_blue, alpha); }
    HSBA hsba() const;

    constexpr bool isBlackConstant() const { return m_isBlackConstant; }

    // "r g b a", each with six significant digits: two colours with the same text look the same.
    std::string description() const;

    friend constexpr bool operator==(const Color& x, const Color& y) {
        return x.m_red == y.m_red && x.m_green == y.m_green && x.m_blue == y.m_blue && x.m_alpha == y.m_alpha;
    }

private:
    constexpr Color(float red, float green, float blue, float alpha)
        : m_red(red)
        , m_green(green)
        , m_blue(blue)
        , m_alpha(alpha) {}

    float m_red = 0;
    float m_green = 0;
    float m_blue = 0;
    float m_alpha = 0;
    bool m_isBlackConstant = false;
};

// The platform's named colours, as lists that offer colours by name show them.
namespace colors {
constexpr Color black() { return Color::black(); }
constexpr Color darkGray() { return Color::white(1.0f / 3); }
constexpr Color gray() { return Color::white(0.5f); }
constexpr Color lightGray() { return Color::white(2.0f / 3); }
constexpr Color blue() { return Color::rgba(0, 0, 1); }
constexpr Color red() { return Color::rgba(1, 0, 0); }
constexpr Color green() { return Color::rgba(0, 1, 0); }
constexpr Color cyan() { return Color::rgba(0, 1, 1); }
constexpr Color orange() { return Color::rgba(1, 0.5f, 0); }
constexpr Color purple() { return Color::rgba(0.5f, 0, 0.5f); }
constexpr Color brown() { return Color::rgba(0.6f, 0.4f, 0.2f); }
} // namespace colors

} // namespace core
