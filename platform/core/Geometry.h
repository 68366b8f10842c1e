#pragma once

// Points, sizes, rectangles and affine transforms in 32-bit floats, in a coordinate space whose
// y axis grows downward (the origin is the top-left corner of the screen).

namespace core {

struct Point {
    float x = 0;
    float y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    float width = 0;
    float height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle may have a negative width or height; every query works on its standardized form.
// The null rectangle stands for "no rectangle": it is what disjoint rectangles intersect to and the
// neutral element of union.
struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    constexpr Rect(Point origin, Size size)
        : origin(origin)
        , size(size) {}
    constexpr Rect(float x, float y, float width, float height)
        : origin{x, y}
        , size{width, height} {}

    static Rect null();

    bool isNull() const;
    // Null, or zero width or height.
    bool isEmpty() const;

    float minX() const;
    float midX() const;
    float maxX() const;
    float minY() const;
    float midY() const;
    float maxY() const;
    float width() const;  // never negative
    float height() const; // never negative

    Rect standardized() const;
    Rect united(const Rect& other) const;
    Rect intersected(const Rect& other) const;
    bool intersects(const Rect& other) const;
    // Minimum edges inclusive, maximum edges exclusive.
    bool contains(Point point) const;
    bool contains(const Rect& other) const;
    // Moves every edge inward by dx and dy (outward for negative values); too much gives null.
    Rect insetBy(float dx, float dy) const;
    Rect offsetBy(float dx, float dy) const;
    // The smallest rectangle with whole-number edges that contains this one.
    Rect integral() const;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Maps (x, y) to (a x + c y + tx, b x + d y + ty).
struct AffineTransform {
    float a = 1;
    float b = 0;
    float c = 0;
    float d = 1;
    float tx = 0;
    float ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform makeScale(float sx, float sy);
    // A positive angle (radians) turns clockwise on screen, since y grows downward.
    static AffineTransform makeRotation(float angle);
    static AffineTransform makeTranslation(float tx, float ty);

    bool isIdentity() const;
    // The transform that applies `first`, then `second`.
    static AffineTransform concat(const AffineTransform& first, const AffineTransform& second);
    // Each of these applies the new operation before this transform.
    AffineTransform scaled(float sx, float sy) const;
    AffineTransform rotated(float angle) const;
    AffineTransform translated(float tx, float ty) const;
    // A transform that cannot be inverted is answered unchanged.
    AffineTransform inverted() const;

    Point apply(Point point) const;
    // The bounding box of the transformed corners; null stays null.
    Rect apply(const Rect& rect) const;

    // The first component: the x scale of a transform without rotation.
    float xScale() const { return a; }

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

} // namespace core
