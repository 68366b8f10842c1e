#pragma once

namespace zm {

// When a frame was made. A still image has no time of its own and travels with the indefinite time; an
// input that has delivered nothing yet holds the invalid time, which is also what a new time is.
class PixFrameTime {
public:
    constexpr PixFrameTime() = default;

    static constexpr PixFrameTime seconds(double seconds) { return {Kind::Numeric, seconds}; }
    static constexpr PixFrameTime indefiniteTime() { return {Kind::Indefinite, 0}; }
    static constexpr PixFrameTime invalidTime() { return {}; }

    constexpr bool isValid() const { return m_kind != Kind::Invalid; }
    constexpr bool isIndefinite() const { return m_kind == Kind::Indefinite; }
    constexpr bool isNumeric() const { return m_kind == Kind::Numeric; }
    // The time of a numeric time; 0 for the others.
    constexpr double inSeconds() const { return m_seconds; }

    friend constexpr bool operator==(const PixFrameTime&, const PixFrameTime&) = default;

private:
    enum class Kind { Invalid, Indefinite, Numeric };

    constexpr PixFrameTime(Kind kind, double seconds)
        : m_kind(kind)
        , m_seconds(seconds) {}

    Kind m_kind = Kind::Invalid;
    double m_seconds = 0;
};

} // namespace zm
