#include "platform/gfx/Path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx {
namespace {

constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;
constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
// Control points that put a cubic curve on a quarter circle of radius 1.
constexpr float kQuarterCircleControl = 0.5522847498f;

core::Point lerp(core::Point a, core::Point b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

float distance(core::Point a, core::Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

core::Point onCircle(core::Point center, float radius, float angle) {
    return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

core::Point cubicPoint(core::Point p0, core::Point p1, core::Point p2, core::Point p3, float t) {
    const float u = 1 - t;
    const float a = u * u * u;
    const float b = 3 * u * u * t;
    const float c = 3 * u * t * t;
    const float d = t * t * t;
    return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

// Enough straight pieces that a curve's polyline strays from it by a few hundredths of a unit,
// whatever its size (the error of a chord falls with the square of the number of pieces).
int pieceCount(core::Point p0, core::Point p1, core::Point p2, core::Point p3) {
    const float hull = distance(p0, p1) + distance(p1, p2) + distance(p2, p3);
    return std::clamp(static_cast<int>(std::ceil(std::sqrt(hull) * 3)), 1, 256);
}

// The sweep an arc really takes: growing angles when clockwise, at most one full turn.
float arcSweep(float startAngle, float endAngle, bool clockwise) {
    float sweep = endAngle - startAngle;
    if (!std::isfinite(sweep)) {
        return 0;
    }
    if (clockwise) {
        if (sweep < 0) {
            sweep = kTwoPi - std::fmod(-sweep, kTwoPi);
        }
        return std::min(sweep, kTwoPi);
    }
    if (sweep > 0) {
        sweep = -(kTwoPi - std::fmod(sweep, kTwoPi));
    }
    return std::max(sweep, -kTwoPi);
}

} // namespace

Path Path::rect(const core::Rect& rect) {
    const core::Rect r = rect.standardized();
    Path path;
    path.moveTo({r.minX(), r.minY()});
    path.lineTo({r.maxX(), r.minY()});
    path.lineTo({r.maxX(), r.maxY()});
    path.lineTo({r.minX(), r.maxY()});
    path.close();
    return path;
}

Path Path::roundedRect(const core::Rect& rect, float cornerRadius) {
    const core::Rect r = rect.standardized();
    const float radius = std::clamp(cornerRadius, 0.0f, std::min(r.width(), r.height()) / 2);
    if (!(radius > 0)) {
        return Path::rect(r);
    }
    Path path;
    path.moveTo({r.minX() + radius, r.minY()});
    path.addArc({r.maxX() - radius, r.minY() + radius}, radius, -kHalfPi, 0, true);
    path.addArc({r.maxX() - radius, r.maxY() - radius}, radius, 0, kHalfPi, true);
    path.addArc({r.minX() + radius, r.maxY() - radius}, radius, kHalfPi, 2 * kHalfPi, true);
    path.addArc({r.minX() + radius, r.minY() + radius}, radius, 2 * kHalfPi, 3 * kHalfPi, true);
    path.close();
    return path;
}

Path Path::ellipse(const core::Rect& rect) {
    const core::Rect r = rect.standardized();
    const float rx = r.width() / 2;
    const float ry = r.height() / 2;
    const float cx = r.midX();
    const float cy = r.midY();
    const float kx = rx * kQuarterCircleControl;
    const float ky = ry * kQuarterCircleControl;
    Path path;
    path.moveTo({cx + rx, cy});
    path.curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    path.curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    path.curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    path.curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    path.close();
    return path;
}

void Path::append(ElementType type, core::Point p0, core::Point p1, core::Point p2) {
    if (type != ElementType::MoveTo && !m_current) {
        // No current point: the segment's end point starts a subpath.
        const core::Point end = type == ElementType::CurveTo ? p2 : p0;
        append(ElementType::MoveTo, end);
        return;
    }
    if (type != ElementType::MoveTo && !m_elements.empty() && m_elements.back().type == ElementType::Close) {
        // After a close, drawing goes on in a new subpath from the closed one's start.
        m_elements.push_back({ElementType::MoveTo, {*m_subpathStart}});
    }
    m_elements.push_back({type, {p0, p1, p2}});
    switch (type) {
    case ElementType::MoveTo:
        m_subpathStart = p0;
        m_current = p0;
        break;
    case ElementType::LineTo:
        m_current = p0;
        break;
    case ElementType::CurveTo:
        m_current = p2;
        break;
    case ElementType::Close:
        m_current = m_subpathStart;
        break;
    }
}

void Path::moveTo(core::Point point) {
    append(ElementType::MoveTo, point);
}

void Path::lineTo(core::Point point) {
    append(ElementType::LineTo, point);
}

void Path::quadTo(core::Point control, core::Point end) {
    if (!m_current) {
        moveTo(end);
        return;
    }
    const core::Point start = *m_current;
    curveTo(lerp(start, control, 2.0f / 3), lerp(end, control, 2.0f / 3), end);
}

void Path::curveTo(core::Point control1, core::Point control2, core::Point end) {
    append(ElementType::CurveTo, control1, control2, end);
}

void Path::addArc(core::Point center, float radius, float startAngle, float endAngle, bool clockwise) {
    const core::Point start = onCircle(center, radius, startAngle);
    if (m_current) {
        lineTo(start);
    } else {
        moveTo(start);
    }
    const float sweep = arcSweep(startAngle, endAngle, clockwise);
    // At most a quarter turn per cubic curve keeps each within a hair of the circle.
    const int pieces = static_cast<int>(std::ceil(std::abs(sweep) / kHalfPi - 1e-4f));
    const float step = pieces > 0 ? sweep / static_cast<float>(pieces) : 0;
    const float k = 4.0f / 3 * std::tan(step / 4) * radius;
    for (int i = 0; i < pieces; ++i) {
        const float a0 = startAngle + step * static_cast<float>(i);
        const float a1 = a0 + step;
        const core::Point p0 = onCircle(center, radius, a0);
        const core::Point p3 = onCircle(center, radius, a1);
        curveTo({p0.x - k * std::sin(a0), p0.y + k * std::cos(a0)},
                {p3.x + k * std::sin(a1), p3.y - k * std::cos(a1)}, p3);
    }
}

void Path::addPath(const Path& other) {
    for (const Element& element : other.m_elements) {
        append(element.type, element.points[0], element.points[1], element.points[2]);
    }
}

void Path::close() {
    if (m_current) {
        append(ElementType::Close, {});
    }
}

std::optional<core::Point> Path::currentPoint() const {
    return m_current;
}

std::vector<std::vector<core::Point>> Path::polylines() const {
    std::vector<std::vector<core::Point>> lines;
    for (const Element& element : m_elements) {
        switch (element.type) {
        case ElementType::MoveTo:
            lines.push_back({element.points[0]});
            break;
        case ElementType::LineTo:
            lines.back().push_back(element.points[0]);
            break;
        case ElementType::CurveTo: {
            const core::Point p0 = lines.back().back();
            const auto& [p1, p2, p3] = element.points;
            const int pieces = pieceCount(p0, p1, p2, p3);
            for (int i = 1; i <= pieces; ++i) {
                lines.back().push_back(
                    cubicPoint(p0, p1, p2, p3, static_cast<float>(i) / static_cast<float>(pieces)));
            }
            break;
        }
        case ElementType::Close:
            lines.back().push_back(lines.back().front());
            break;
        }
    }
    return lines;
}

core::Rect Path::bounds() const {
    if (m_elements.empty()) {
        return core::Rect::null();
    }
    core::Point low = m_elements.front().points[0];
    core::Point high = low;
    for (const auto& line : polylines()) {
        for (core::Point point : line) {
            low = {std::min(low.x, point.x), std::min(low.y, point.y)};
            high = {std::max(high.x, point.x), std::max(high.y, point.y)};
        }
    }
    return {low, {high.x - low.x, high.y - low.y}};
}

Path Path::transformed(const core::AffineTransform& transform) const {
    Path path;
    for (const Element& element : m_elements) {
        path.append(element.type, transform.apply(element.points[0]), transform.apply(element.points[1]),
                    transform.apply(element.points[2]));
    }
    return path;
}

float Path::length() const {
    float total = 0;
    for (const auto& line : polylines()) {
        for (size_t i = 1; i < line.size(); ++i) {
            total += distance(line[i - 1], line[i]);
        }
    }
    return total;
}

Path Path::trimmed(float start, float end) const {
    start = std::clamp(start, 0.0f, 1.0f);
    end = std::clamp(end, 0.0f, 1.0f);
    if (start <= 0 && end >= 1) {
        return *this;
    }
    const float total = length();
    const float from = start * total;
    const float to = end * total;
    Path path;
    if (!(to > from)) {
        return path;
    }
    float travelled = 0;
    for (const auto& line : polylines()) {
        bool drawing = false;
        for (size_t i = 1; i < line.size() && travelled < to; ++i) {
            const float piece = distance(line[i - 1], line[i]);
            const float pieceEnd = travelled + piece;
            if (pieceEnd > from && piece > 0) {
                if (!drawing) {
                    path.moveTo(lerp(line[i - 1], line[i], std::max(0.0f, (from - travelled) / piece)));
                    drawing = true;
                }
                path.lineTo(lerp(line[i - 1], line[i], std::min(1.0f, (to - travelled) / piece)));
            }
            travelled = pieceEnd;
        }
    }
    return path;
}

} // namespace gfx
