#include "playground/views/AnchorGeometry.h"

namespace zm {

core::Point pointAtAnchorInRect(const core::Rect& rect, Anchor anchor) {
    switch (anchor) {
    case AnchorTopLeft:
        return {rect.minX(), rect.minY()};
    case AnchorTopRight:
        return {rect.maxX(), rect.minY()};
    case AnchorTopCenter:
        return {rect.midX(), rect.minY()};
    case AnchorBottomCenter:
        return {rect.midX(), rect.maxY()};
    case AnchorBottomLeft:
        return {rect.minX(), rect.maxY()};
    case AnchorBottomRight:
        return {rect.maxX(), rect.maxY()};
    case AnchorCenter:
        return {rect.midX(), rect.midY()};
    case AnchorMiddleLeft:
        return {rect.minX(), rect.midY()};
    case AnchorMiddleRight:
        return {rect.maxX(), rect.midY()};
    }
    return rect.origin;
}

std::optional<AnchoredPoint> reduceAnchorOnce(AnchoredPoint position, core::Size size) {
    const auto [x, y] = position.point;
    const float w = size.width;
    const float h = size.height;
    switch (position.anchor) {
    case AnchorTopRight:
        return AnchoredPoint{{x - w, y}, AnchorTopLeft};
    case AnchorTopCenter:
        return AnchoredPoint{{x - w / 2, y}, AnchorTopLeft};
    case AnchorBottomCenter:
        return AnchoredPoint{{x, y - h}, AnchorTopCenter};
    case AnchorBottomLeft:
        return AnchoredPoint{{x, y - h}, AnchorTopLeft};
    case AnchorBottomRight:
        return AnchoredPoint{{x - w, y - h}, AnchorTopLeft};
    case AnchorMiddleLeft:
        return AnchoredPoint{{x, y - h / 2}, AnchorTopLeft};
    case AnchorMiddleRight:
        return AnchoredPoint{{x - w, y}, AnchorMiddleLeft};
    case AnchorTopLeft:
    case AnchorCenter:
        break;
    }
    return std::nullopt;
}

std::optional<core::Point> topLeftForAnchor(core::Point point, Anchor anchor, core::Size size) {
    std::optional<AnchoredPoint> position = AnchoredPoint{point, anchor};
    while (position) {
        if (position->anchor == AnchorTopLeft)
            return position->point;
        if (position->anchor == AnchorCenter)
            return core::Point{position->point.x - size.width / 2, position->point.y - size.height / 2};
        position = reduceAnchorOnce(*position, size);
    }
    return std::nullopt;
}

std::optional<core::Point> middleLeftForAnchor(core::Point point, Anchor anchor, core::Size size,
                                               float centerOffset) {
    std::optional<AnchoredPoint> position = AnchoredPoint{point, anchor};
    while (position) {
        switch (position->anchor) {
        case AnchorMiddleLeft:
            return position->point;
        case AnchorTopLeft:
            return core::Point{position->point.x, position->point.y + size.height / 2};
        case AnchorCenter:
            return core::Point{position->point.x - centerOffset, position->point.y};
        default:
            position = reduceAnchorOnce(*position, size);
        }
    }
    return std::nullopt;
}

} // namespace zm
