#pragma once

#include "platform/core/Geometry.h"

#include <array>
#include <optional>
#include <vector>

namespace gfx {

enum class FillRule { NonZero, EvenOdd };

// A shape made of straight and curved segments, in canvas units (y grows downward). A value:
// build it, copy it, hand it to a canvas to fill, stroke or clip.
class Path {
public:
    enum class ElementType { MoveTo, LineTo, CurveTo, Close };
    // MoveTo and LineTo use points[0]; CurveTo is a cubic curve with controls points[0] and
    // points[1] to points[2]. Quadratic curves and arcs are stored as cubic curves.
    struct Element {
        ElementType type;
        std::array<core::Point, 3> points;

        friend bool operator==(const Element&, const Element&) = default;
    };

    static Path rect(const core::Rect& rect);
    // Corners of radius `cornerRadius`, limited to half the shorter side (so a long thin
    // rectangle with a large radius becomes a pill).
    static Path roundedRect(const core::Rect& rect, float cornerRadius);
    static Path ellipse(const core::Rect& rect);

    // A segment without a current point starts a new subpath at its end point instead.
    void moveTo(core::Point point);
    void lineTo(core::Point point);
    void quadTo(core::Point control, core::Point end);
    void curveTo(core::Point control1, core::Point control2, core::Point end);
    // An arc of the circle around `center`, from `startAngle` to `endAngle` (radians from the
    // positive x axis). Clockwise on screen means growing angles, since y grows downward; a sweep
    // is at most one full turn. A line joins the current point, if any, to the arc's start.
    void addArc(core::Point center, float radius, float startAngle, float endAngle, bool clockwise);
    void addPath(const Path& other);
    void close();

    bool isEmpty() const { return m_elements.empty(); }
    const std::vector<Element>& elements() const { return m_elements; }
    std::optional<core::Point> currentPoint() const;

    // The smallest rectangle holding every point of the path (curves included, not their
    // controls); null for an empty path.
    core::Rect bounds() const;
    Path transformed(const core::AffineTransform& transform) const;

    // The length of every segment together, closing segments included.
    float length() const;
    // The part of the path from `start` to `end`, as fractions of its length (0 to 1): what a
    // stroke drawn from start to end covers. Curves become fine polylines.
    Path trimmed(float start, float end) const;

    friend bool operator==(const Path&, const Path&) = default;

private:
    void append(ElementType type, core::Point p0, core::Point p1 = {}, core::Point p2 = {});
    // Each subpath as a polyline (a closed one ends at its start point again).
    std::vector<std::vector<core::Point>> polylines() const;

    std::vector<Element> m_elements;
    std::optional<core::Point> m_subpathStart;
    std::optional<core::Point> m_current;
};

} // namespace gfx
