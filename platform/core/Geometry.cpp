#include "platform/core/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace core {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

} // namespace

Rect Rect::null() {
    return Rect(kInfinity, kInfinity, 0, 0);
}

bool Rect::isNull() const {
    return std::isinf(origin.x) || std::isinf(origin.y);
}

bool Rect::isEmpty() const {
    return isNull() || size.width == 0 || size.height == 0;
}

float Rect::minX() const {
    return std::min(origin.x, origin.x + size.width);
}

float Rect::maxX() const {
    return std::max(origin.x, origin.x + size.width);
}

float Rect::midX() const {
    return origin.x + size.width / 2;
}

float Rect::minY() const {
    return std::min(origin.y, origin.y + size.height);
}

float Rect::maxY() const {
    return std::max(origin.y, origin.y + size.height);
}

float Rect::midY() const {
    return origin.y + size.height / 2;
}

float Rect::width() const {
    return std::fabs(size.width);
}

float Rect::height() const {
    return std::fabs(size.height);
}

Rect Rect::standardized() const {
    if (isNull())
        return *this;
    return Rect(minX(), minY(), width(), height());
}

Rect Rect::united(const Rect& other) const {
    if (isNull())
        return other.standardized();
    if (other.isNull())
        return standardized();
    const float x = std::min(minX(), other.minX());
    const float y = std::min(minY(), other.minY());
    return Rect(x, y, std::max(maxX(), other.maxX()) - x, std::max(maxY(), other.maxY()) - y);
}

Rect Rect::intersected(const Rect& other) const {
    if (isNull() || other.isNull())
        return null();
    const float x = std::max(minX(), other.minX());
    const float y = std::max(minY(), other.minY());
    const float right = std::min(maxX(), other.maxX());
    const float bottom = std::min(maxY(), other.maxY());
    if (right < x || bottom < y)
        return null();
    return Rect(x, y, right - x, bottom - y);
}

bool Rect::intersects(const Rect& other) const {
    return !intersected(other).isNull();
}

bool Rect::contains(Point point) const {
    if (isNull())
        return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect& other) const {
    if (isNull() || other.isNull())
        return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
           other.maxY() <= maxY();
}

Rect Rect::insetBy(float dx, float dy) const {
    if (isNull())
        return *this;
    const Rect r = standardized();
    const float width = r.size.width - 2 * dx;
    const float height = r.size.height - 2 * dy;
    if (width < 0 || height < 0)
        return null();
    return Rect(r.origin.x + dx, r.origin.y + dy, width, height);
}

Rect Rect::offsetBy(float dx, float dy) const {
    if (isNull())
        return *this;
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

Rect Rect::integral() const {
    if (isNull())
        return *this;
    const float x = std::floor(minX());
    const float y = std::floor(minY());
    return Rect(x, y, std::ceil(maxX()) - x, std::ceil(maxY()) - y);
}

AffineTransform AffineTransform::makeScale(float sx, float sy) {
    return {sx, 0, 0, sy, 0, 0};
}

AffineTransform AffineTransform::makeRotation(float angle) {
    const auto cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const auto sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::makeTranslation(float tx, float ty) {
    return {1, 0, 0, 1, tx, ty};
}

bool AffineTransform::isIdentity() const {
    return *this == identity();
}

AffineTransform AffineTransform::concat(const AffineTransform& t1, const AffineTransform& t2) {
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

AffineTransform AffineTransform::scaled(float sx, float sy) const {
    return concat(makeScale(sx, sy), *this);
}

AffineTransform AffineTransform::rotated(float angle) const {
    return concat(makeRotation(angle), *this);
}

AffineTransform AffineTransform::translated(float x, float y) const {
    return concat(makeTranslation(x, y), *this);
}

AffineTransform AffineTransform::inverted() const {
    const float determinant = a * d - b * c;
    if (determinant == 0 || !std::isfinite(determinant))
        return *this;
    return {d / determinant,
            -b / determinant,
            -c / determinant,
            a / determinant,
            (c * ty - d * tx) / determinant,
            (b * tx - a * ty) / determinant};
}

Point AffineTransform::apply(Point p) const {
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Rect AffineTransform::apply(const Rect& rect) const {
    if (rect.isNull())
        return rect;
    const Point corners[] = {apply(Point{rect.minX(), rect.minY()}), apply(Point{rect.maxX(), rect.minY()}),
                             apply(Point{rect.minX(), rect.maxY()}), apply(Point{rect.maxX(), rect.maxY()})};
    float left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const Point& corner : corners) {
        left = std::min(left, corner.x);
        right = std::max(right, corner.x);
        top = std::min(top, corner.y);
        bottom = std::max(bottom, corner.y);
    }
    return Rect(left, top, right - left, bottom - top);
}

} // namespace core
