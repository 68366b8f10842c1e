#include "platform/ui/AnimatableValue.h"

#include <array>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

// A value laid out as plain numbers, so that every kind blends with the same arithmetic.
struct Components {
    std::array<double, 6> values{};
    size_t count = 0;
};

float single(double x) {
    return static_cast<float>(x);
}

// A transform as translation, rotation, shear and scale; composing them in the order
// translate · rotate · shear · scale gives the transform back.
Components decompose(const core::AffineTransform& t) {
    double row0x = t.a;
    double row0y = t.b;
    double row1x = t.c;
    double row1y = t.d;
    double scaleX = std::hypot(row0x, row0y);
    if (scaleX != 0) {
        row0x /= scaleX;
        row0y /= scaleX;
    }
    double shear = row0x * row1x + row0y * row1y;
    row1x -= row0x * shear;
    row1y -= row0y * shear;
    double scaleY = std::hypot(row1x, row1y);
    if (scaleY != 0)
        shear /= scaleY;
    // A mirrored transform keeps its rotation and flips the x axis.
    if (row0x * row1y - row0y * row1x < 0) {
        scaleX = -scaleX;
        row0x = -row0x;
        row0y = -row0y;
        shear = -shear;
    }
    const double angle = std::atan2(row0y, row0x);
    return {{t.tx, t.ty, angle, shear, scaleX, scaleY}, 6};
}

core::AffineTransform recompose(const Components& parts) {
    const double tx = parts.values[0];
    const double ty = parts.values[1];
    const double angle = parts.values[2];
    const double shear = parts.values[3];
    const double scaleX = parts.values[4];
    const double scaleY = parts.values[5];
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    // rotate · shear · scale, with the rows of the linear part as (a, b) and (c, d).
    const double a = cosine * scaleX;
    const double b = sine * scaleX;
    const double c = (cosine * shear - sine) * scaleY;
    const double d = (sine * shear + cosine) * scaleY;
    return core::AffineTransform{single(a), single(b), single(c), single(d), single(tx), single(ty)};
}

Components componentsOf(const AnimatableValue& value) {
    struct Visitor {
        Components operator()(float v) const { return {{v}, 1}; }
        Components operator()(core::Point p) const { return {{p.x, p.y}, 2}; }
        Components operator()(const core::Rect& r) const {
            return {{r.origin.x, r.origin.y, r.size.width, r.size.height}, 4};
        }
        Components operator()(const core::AffineTransform& t) const { return decompose(t); }
        Components operator()(const core::Color& c) const {
            return {{c.red(), c.green(), c.blue(), c.alpha()}, 4};
        }
    };
    return std::visit(Visitor{}, value);
}

// A value of the same kind as `kind`, made from `parts`.
AnimatableValue valueLike(const AnimatableValue& kind, const Components& parts) {
    const auto& v = parts.values;
    switch (kind.index()) {
    case 0:
        return single(v[0]);
    case 1:
        return core::Point{single(v[0]), single(v[1])};
    case 2:
        return core::Rect(single(v[0]), single(v[1]), single(v[2]), single(v[3]));
    case 3:
        return recompose(parts);
    default:
        return core::Color::rgba(single(v[0]), single(v[1]), single(v[2]), single(v[3]));
    }
}

// Moves the rotation of `parts` by whole turns to within half a turn of `reference`, so that a blend
// between them turns the shorter way.
void unwrapAngle(Components& parts, const Components& reference) {
    if (parts.count != 6)
        return;
    constexpr double turn = 2 * std::numbers::pi;
    double& angle = parts.values[2];
    while (angle - reference.values[2] > std::numbers::pi)
        angle -= turn;
    while (reference.values[2] - angle > std::numbers::pi)
        angle += turn;
}

} // namespace

AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double t) {
    if (from.index() != to.index())
        return to;
    const Components a = componentsOf(from);
    Components b = componentsOf(to);
    unwrapAngle(b, a);
    Components blend = a;
    for (size_t i = 0; i < a.count; ++i)
        blend.values[i] = a.values[i] + (b.values[i] - a.values[i]) * t;
    return valueLike(from, blend);
}

AnimatableValue interpolateSmoothly(std::span<const AnimatableValue> values, size_t index, double t) {
    const AnimatableValue& start = values[index];
    const AnimatableValue& end = values[index + 1];
    const AnimatableValue& before = index > 0 ? values[index - 1] : start;
    const AnimatableValue& after = index + 2 < values.size() ? values[index + 2] : end;
    if (before.index() != start.index() || end.index() != start.index() || after.index() != start.index())
        return interpolate(start, end, t);

    Components p0 = componentsOf(before);
    Components p1 = componentsOf(start);
    Components p2 = componentsOf(end);
    Components p3 = componentsOf(after);
    unwrapAngle(p0, p1);
    unwrapAngle(p2, p1);
    unwrapAngle(p3, p2);
    Components blend = p1;
    const double t2 = t * t;
    const double t3 = t2 * t;
    for (size_t i = 0; i < p1.count; ++i) {
        const double m1 = (p2.values[i] - p0.values[i]) / 2;
        const double m2 = (p3.values[i] - p1.values[i]) / 2;
        blend.values[i] = (2 * t3 - 3 * t2 + 1) * p1.values[i] + (t3 - 2 * t2 + t) * m1 +
                          (-2 * t3 + 3 * t2) * p2.values[i] + (t3 - t2) * m2;
    }
    return valueLike(start, blend);
}

double distanceBetween(const AnimatableValue& from, const AnimatableValue& to) {
    if (from.index() != to.index())
        return 0;
    const Components a = componentsOf(from);
    Components b = componentsOf(to);
    unwrapAngle(b, a);
    double sum = 0;
    for (size_t i = 0; i < a.count; ++i)
        sum += (b.values[i] - a.values[i]) * (b.values[i] - a.values[i]);
    return std::sqrt(sum);
}

} // namespace ui
