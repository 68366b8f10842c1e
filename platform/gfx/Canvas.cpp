#include "platform/gfx/Canvas.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ResampledDraw.h"
#include "platform/gfx/ShadowBlur.h"
#include "platform/gfx/TextBlock.h"
#include "platform/gfx/TextEngine.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <memory>
#include <vector>

#include <cairo.h>

namespace gfx {
namespace {

bool isFinite(core::Point point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(const core::Rect& rect) {
    return isFinite(rect.origin) && std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

cairo_line_cap_t cairoCap(LineCap cap) {
    switch (cap) {
    case LineCap::Round:
        return CAIRO_LINE_CAP_ROUND;
    case LineCap::Square:
        return CAIRO_LINE_CAP_SQUARE;
    default:
        return CAIRO_LINE_CAP_BUTT;
    }
}

cairo_line_join_t cairoJoin(LineJoin join) {
    switch (join) {
    case LineJoin::Round:
        return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::Bevel:
        return CAIRO_LINE_JOIN_BEVEL;
    default:
        return CAIRO_LINE_JOIN_MITER;
    }
}

cairo_operator_t cairoOperator(BlendMode mode) {
    return mode == BlendMode::DestinationIn ? CAIRO_OPERATOR_DEST_IN : CAIRO_OPERATOR_OVER;
}

cairo_fill_rule_t cairoFillRule(FillRule rule) {
    return rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

float unitInterval(float value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0f, 1.0f);
}

void addStop(cairo_pattern_t* pattern, double offset, const core::Color& color, float alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, color.red(), color.green(), color.blue(),
                                      unitInterval(color.alpha()) * alpha);
}

// The boundaries of the three slices of one side of a stretched image: the borders keep their
// length (shrunk in proportion when the target is too short for both), the middle takes the rest.
struct Slices {
    std::array<double, 4> source;
    std::array<double, 4> target;
};

Slices slice(int pixels, float scale, float leading, float trailing, float targetStart, float targetLength) {
    const double leadingPixels = std::clamp(leading * scale, 0.0f, static_cast<float>(pixels));
    const double trailingPixels =
        std::clamp(trailing * scale, 0.0f, static_cast<float>(pixels) - static_cast<float>(leadingPixels));
    double lead = leadingPixels / scale;
    double trail = trailingPixels / scale;
    if (lead + trail > targetLength) {
        const double shrink = targetLength / (lead + trail);
        lead *= shrink;
        trail *= shrink;
    }
    return {
        {0, leadingPixels, pixels - trailingPixels, static_cast<double>(pixels)},
        {targetStart, targetStart + lead, targetStart + targetLength - trail, targetStart + targetLength}};
}

bool isWhole(double value) {
    return value == std::round(value) && std::abs(value) < 1 << 30;
}

// Draws a part of the surface smoothed over the target rectangle without Cairo, when the context draws
// straight into an image square to its pixels and the clip is whole pixels: Cairo works out the part's
// position from the middle of the clip, so a part of the screen drawn again came out a step off what
// drawing the whole gave, and it cannot share a large picture (the old screen enlarged while a screen
// zooms in, most of that frame) between threads. Shrunk further than smoothing reaches, a picture is left
// to Cairo; put down pixel for pixel, it is the same either way, and only a large one is taken from Cairo,
// to be shared. False, having drawn nothing, when it is left to Cairo.
bool drawResampledPart(cairo_t* cr, cairo_surface_t* surface, double sx, double sy, double sw, double sh,
                       double tx, double ty, double tw, double th, float alpha) {
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_get_group_target(cr) != target || cairo_get_operator(cr) != CAIRO_OPERATOR_OVER ||
        cairo_get_antialias(cr) != CAIRO_ANTIALIAS_DEFAULT || !isWhole(sx) || !isWhole(sy) || !isWhole(sw) ||
        !isWhole(sh))
        return false;
    double offsetX = 0;
    double offsetY = 0;
    double scaleX = 0;
    double scaleY = 0;
    cairo_surface_get_device_offset(target, &offsetX, &offsetY);
    cairo_surface_get_device_scale(target, &scaleX, &scaleY);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    if (offsetX != 0 || offsetY != 0 || scaleX != 1 || scaleY != 1 || matrix.xy != 0 || matrix.yx != 0 ||
        !(matrix.xx > 0) || !(matrix.yy > 0))
        return false;
    double x1 = tx;
    double y1 = ty;
    double x2 = tx + tw;
    double y2 = ty + th;
    cairo_user_to_device(cr, &x1, &y1);
    cairo_user_to_device(cr, &x2, &y2);
    const bool shrunkFar = !(sw / (x2 - x1) < 4.0 / 3 && sh / (y2 - y1) < 4.0 / 3);
    const bool pixelForPixel = x2 - x1 == sw && y2 - y1 == sh && isWhole(x1) && isWhole(y1);
    if (shrunkFar)
        return false;

    cairo_save(cr);
    cairo_identity_matrix(cr);
    const std::unique_ptr<cairo_rectangle_list_t, decltype(&cairo_rectangle_list_destroy)> clip(
        cairo_copy_clip_rectangle_list(cr), cairo_rectangle_list_destroy);
    cairo_restore(cr);
    if (clip->status != CAIRO_STATUS_SUCCESS)
        return false;
    std::vector<detail::PixelBox> boxes;
    boxes.reserve(size_t(clip->num_rectangles));
    for (int i = 0; i < clip->num_rectangles; ++i) {
        const cairo_rectangle_t& r = clip->rectangles[i];
        if (!isWhole(r.x) || !isWhole(r.y) || !isWhole(r.width) || !isWhole(r.height))
            return false;
        boxes.push_back({int(r.x), int(r.y), int(r.x + r.width), int(r.y + r.height)});
    }
    const detail::ResampledPart part{surface, int(sx), int(sy), int(sw), int(sh), x1, y1, x2, y2, alpha};
    return detail::drawResampled(target, part, boxes, pixelForPixel ? detail::Small::Leave : detail::Small::Draw);
}

// Draws the source rectangle of the surface scaled into the target rectangle, never sampling
// pixels outside the source rectangle.
void drawScaledPart(cairo_t* cr, cairo_surface_t* surface, double sx, double sy, double sw, double sh,
                    double tx, double ty, double tw, double th, float alpha) {
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0 ||
        drawResampledPart(cr, surface, sx, sy, sw, sh, tx, ty, tw, th, alpha)) {
        return;
    }
    // Cairo copies a sub-surface whole whenever the smoothing samples past its edges (a picture shrunk or
    // enlarged into a rectangle that is not whole pixels): a screen-sized copy for every frame of a zoom.
    // The whole picture, padded at its own edges, gives the same pixels.
    const bool whole = sx == 0 && sy == 0 && sw == cairo_image_surface_get_width(surface) &&
                       sh == cairo_image_surface_get_height(surface);
    cairo_surface_t* part = whole ? cairo_surface_reference(surface)
                                  : cairo_surface_create_for_rectangle(surface, sx, sy, sw, sh);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, sw / tw, sh / th);
    cairo_matrix_translate(&matrix, -tx, -ty);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_save(cr);
    cairo_rectangle(cr, tx, ty, tw, th);
    cairo_clip(cr);
    cairo_set_source(cr, pattern);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
}

void drawImageInto(cairo_t* cr, const Image& image, const core::Rect& rect, float alpha) {
    cairo_surface_t* surface = image.bitmap().cairoSurface();
    const CapInsets& insets = image.capInsets();
    const Slices columns =
        slice(image.pixelWidth(), image.scale(), insets.left, insets.right, rect.minX(), rect.width());
    const Slices rows =
        slice(image.pixelHeight(), image.scale(), insets.top, insets.bottom, rect.minY(), rect.height());
    cairo_save(cr);
    if (!insets.isZero()) {
        // Aliased slice edges meet without a seam; antialiased ones would let the background
        // show through where two slices share a pixel.
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    }
    for (size_t row = 0; row < 3; ++row) {
        for (size_t column = 0; column < 3; ++column) {
            drawScaledPart(cr, surface, columns.source[column], rows.source[row],
                           columns.source[column + 1] - columns.source[column],
                           rows.source[row + 1] - rows.source[row], columns.target[column], rows.target[row],
                           columns.target[column + 1] - columns.target[column],
                           rows.target[row + 1] - rows.target[row], alpha);
        }
    }
    cairo_restore(cr);
}

} // namespace

Canvas::Canvas(Bitmap& bitmap, float scale)
    : m_cr(cairo_create(bitmap.cairoSurface()))
    , m_scale(std::isfinite(scale) && scale > 0 ? scale : 1) {
    applyTransform(core::AffineTransform::identity());
}

Canvas::~Canvas() {
    cairo_destroy(m_cr);
}

void Canvas::save() {
    m_savedStates.push_back(m_state);
    cairo_save(m_cr);
}

void Canvas::restore() {
    if (m_savedStates.empty()) {
        return;
    }
    m_state = std::move(m_savedStates.back());
    m_savedStates.pop_back();
    cairo_restore(m_cr);
}

void Canvas::applyTransform(const core::AffineTransform& transform) {
    m_state.transform = core::AffineTransform::concat(transform, m_state.transform);
    const core::AffineTransform& t = m_state.transform;
    const double determinant = static_cast<double>(t.a) * t.d - static_cast<double>(t.b) * t.c;
    m_state.flattened = !(std::abs(determinant) > 1e-10) || !std::isfinite(t.tx) || !std::isfinite(t.ty);
    if (m_state.flattened) {
        return; // Cairo would refuse the matrix for good; nothing is drawn until a restore
    }
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a * m_scale, t.b * m_scale, t.c * m_scale, t.d * m_scale, t.tx * m_scale,
                      t.ty * m_scale);
    cairo_set_matrix(m_cr, &matrix);
}

void Canvas::translate(float dx, float dy) {
    applyTransform(core::AffineTransform::makeTranslation(dx, dy));
}

void Canvas::scaleBy(float sx, float sy) {
    applyTransform(core::AffineTransform::makeScale(sx, sy));
}

void Canvas::rotate(float angle) {
    applyTransform(core::AffineTransform::makeRotation(angle));
}

void Canvas::concat(const core::AffineTransform& transform) {
    applyTransform(transform);
}

void Canvas::setTransform(const core::AffineTransform& transform) {
    m_state.transform = core::AffineTransform::identity();
    applyTransform(transform);
}

void Canvas::setLineWidth(float width) {
    m_state.lineWidth = std::isfinite(width) ? std::max(width, 0.0f) : 0;
}

void Canvas::setMiterLimit(float limit) {
    m_state.miterLimit = std::isfinite(limit) ? std::max(limit, 1.0f) : 10;
}

void Canvas::setLineDash(std::vector<float> lengths, float phase) {
    const bool usable =
        std::ranges::all_of(lengths, [](float length) { return std::isfinite(length) && length >= 0; }) &&
        std::ranges::any_of(lengths, [](float length) { return length > 0; });
    m_state.dash.clear();
    if (usable) {
        m_state.dash.assign(lengths.begin(), lengths.end());
    }
    m_state.dashPhase = std::isfinite(phase) ? phase : 0;
}

void Canvas::setAlpha(float alpha) {
    m_state.alpha = unitInterval(alpha);
}

bool Canvas::setPath(cairo_t* cr, const Path& path) const {
    cairo_new_path(cr);
    for (const Path::Element& element : path.elements()) {
        const auto& [p0, p1, p2] = element.points;
        switch (element.type) {
        case Path::ElementType::MoveTo:
            if (!isFinite(p0)) {
                return false;
            }
            cairo_move_to(cr, p0.x, p0.y);
            break;
        case Path::ElementType::LineTo:
            if (!isFinite(p0)) {
                return false;
            }
            cairo_line_to(cr, p0.x, p0.y);
            break;
        case Path::ElementType::CurveTo:
            if (!isFinite(p0) || !isFinite(p1) || !isFinite(p2)) {
                return false;
            }
            cairo_curve_to(cr, p0.x, p0.y, p1.x, p1.y, p2.x, p2.y);
            break;
        case Path::ElementType::Close:
            cairo_close_path(cr);
            break;
        }
    }
    return true;
}

void Canvas::setSourceColor(cairo_t* cr, const core::Color& color) const {
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(),
                          unitInterval(color.alpha()) * m_state.alpha);
}

void Canvas::fillPath(const Path& path, FillRule rule) {
    perform([&](cairo_t* cr) {
        if (setPath(cr, path)) {
            cairo_set_fill_rule(cr, cairoFillRule(rule));
            setSourceColor(cr, m_state.fillColor);
            cairo_fill(cr);
        }
        cairo_new_path(cr);
    });
}

void Canvas::strokePath(const Path& path) {
    perform([&](cairo_t* cr) {
        if (setPath(cr, path)) {
            cairo_set_line_width(cr, m_state.lineWidth);
            cairo_set_line_cap(cr, cairoCap(m_state.lineCap));
            cairo_set_line_join(cr, cairoJoin(m_state.lineJoin));
            cairo_set_miter_limit(cr, m_state.miterLimit);
            cairo_set_dash(cr, m_state.dash.data(), static_cast<int>(m_state.dash.size()), m_state.dashPhase);
            setSourceColor(cr, m_state.strokeColor);
            strokeWhole(cr);
        }
        cairo_new_path(cr);
    });
}

// Cairo leaves out the parts of a stroke that the clip or the edge of the picture cut away before it fills
// the outline, which changes the edges that remain by a few steps of coverage. A screen drawn again only
// where it changed must match what it keeps from before, so a stroke is drawn whole apart and then put
// down: its pixels are then the same however it is cut.
void Canvas::strokeWhole(cairo_t* cr) {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    std::array<double, 8> corners{x1, y1, x2, y1, x1, y2, x2, y2};
    double left = INFINITY;
    double top = INFINITY;
    double right = -INFINITY;
    double bottom = -INFINITY;
    for (size_t i = 0; i < corners.size(); i += 2) {
        cairo_user_to_device(cr, &corners[i], &corners[i + 1]);
        left = std::min(left, std::floor(corners[i]));
        right = std::max(right, std::ceil(corners[i]));
        top = std::min(top, std::floor(corners[i + 1]));
        bottom = std::max(bottom, std::ceil(corners[i + 1]));
    }
    // A stroke too large to hold apart is drawn in place.
    constexpr double kMostPixelsApart = 4096.0 * 1024;
    if (!(right > left && bottom > top && (right - left) * (bottom - top) <= kMostPixelsApart)) {
        cairo_stroke(cr);
        return;
    }
    const detail::Surface whole(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(right - left),
                                                           static_cast<int>(bottom - top)));
    cairo_t* apart = cairo_create(whole.get());
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    matrix.x0 -= left;
    matrix.y0 -= top;
    cairo_path_t* outline = cairo_copy_path(cr);
    cairo_set_matrix(apart, &matrix);
    cairo_append_path(apart, outline);
    cairo_path_destroy(outline);
    cairo_set_source(apart, cairo_get_source(cr));
    cairo_set_line_width(apart, cairo_get_line_width(cr));
    cairo_set_line_cap(apart, cairo_get_line_cap(cr));
    cairo_set_line_join(apart, cairo_get_line_join(cr));
    cairo_set_miter_limit(apart, cairo_get_miter_limit(cr));
    cairo_set_dash(apart, m_state.dash.data(), static_cast<int>(m_state.dash.size()), m_state.dashPhase);
    cairo_stroke(apart);
    cairo_destroy(apart);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, whole.get(), left, top);
    cairo_paint(cr);
    cairo_restore(cr);
}

void Canvas::fillRect(const core::Rect& rect) {
    fillPath(Path::rect(rect));
}

void Canvas::clipToPath(const Path& path, FillRule rule) {
    if (m_state.flattened) {
        return;
    }
    if (!setPath(m_cr, path)) {
        cairo_new_path(m_cr); // a path that is not a number encloses nothing
    }
    cairo_set_fill_rule(m_cr, cairoFillRule(rule));
    cairo_clip(m_cr);
}

void Canvas::clipToRect(const core::Rect& rect) {
    clipToPath(Path::rect(rect));
}

core::Rect Canvas::clipBounds() const {
    if (m_state.flattened) {
        return {};
    }
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    return {static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2 - x1),
            static_cast<float>(y2 - y1)};
}

void Canvas::drawGradient(const Gradient& gradient, cairo_pattern_t* pattern, GradientExtension extension) {
    std::vector<GradientStop> stops = gradient.stops;
    std::ranges::stable_sort(stops, {}, &GradientStop::location);
    // Cairo pads both ends or neither; a transparent stop at the same place as an end stop takes
    // the padding away from that end only.
    if (!extension.beforeStart) {
        addStop(pattern, 0, core::Color::clear(), 0);
        addStop(pattern, 0, stops.front().color, m_state.alpha);
    }
    for (const GradientStop& stop : stops) {
        addStop(pattern, unitInterval(stop.location), stop.color, m_state.alpha);
    }
    if (!extension.afterEnd) {
        addStop(pattern, 1, stops.back().color, m_state.alpha);
        addStop(pattern, 1, core::Color::clear(), 0);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    perform([&](cairo_t* cr) {
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
    });
}

void Canvas::drawLinearGradient(const Gradient& gradient, core::Point start, core::Point end,
                                GradientExtension extension) {
    if (gradient.stops.empty() || !isFinite(start) || !isFinite(end) ||
        (start.x == end.x && start.y == end.y)) {
        return;
    }
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    drawGradient(gradient, pattern, extension);
    cairo_pattern_destroy(pattern);
}

void Canvas::drawRadialGradient(const Gradient& gradient, core::Point startCenter, float startRadius,
                                core::Point endCenter, float endRadius, GradientExtension extension) {
    if (gradient.stops.empty() || !isFinite(startCenter) || !isFinite(endCenter) ||
        !std::isfinite(startRadius) || !std::isfinite(endRadius)) {
        return;
    }
    cairo_pattern_t* pattern =
        cairo_pattern_create_radial(startCenter.x, startCenter.y, std::max(startRadius, 0.0f), endCenter.x,
                                    endCenter.y, std::max(endRadius, 0.0f));
    drawGradient(gradient, pattern, extension);
    cairo_pattern_destroy(pattern);
}

void Canvas::drawImage(const Image& image, const core::Rect& rect) {
    if (!isFinite(rect)) {
        return;
    }
    const core::Rect target = rect.standardized();
    perform([&](cairo_t* cr) { drawImageInto(cr, image, target, m_state.alpha); });
}

void Canvas::drawText(const AttributedText& text, const core::Rect& rect, const TextStyle& style) {
    if (!isFinite(rect) || m_state.flattened) {
        return;
    }
    const core::Rect frame = rect.standardized();
    if (!(frame.width() > 0)) {
        return;
    }
    auto lock = detail::lockText();
    const detail::TextLayout layout(text, frame.width(), frame.height(), style, m_state.fillColor,
                                    m_state.alpha);
    perform([&](cairo_t* cr) {
        cairo_save(cr);
        if (style.lineBreak == LineBreakMode::Clip) {
            cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
            cairo_clip(cr);
        }
        layout.draw(cr, frame.origin);
        cairo_restore(cr);
    });
}

void Canvas::drawText(std::string_view text, const Font& font, const core::Rect& rect,
                      const TextStyle& style) {
    drawText(AttributedText(std::string(text), font), rect, style);
}

void Canvas::drawText(const TextBlock& block, core::Point origin) {
    if (!isFinite(origin) || m_state.flattened) {
        return;
    }
    auto lock = detail::lockText();
    perform([&](cairo_t* cr) {
        if (m_state.alpha >= 1) {
            block.m_layout->draw(cr, origin);
            return;
        }
        cairo_push_group(cr);
        block.m_layout->draw(cr, origin);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, m_state.alpha);
    });
}

void Canvas::perform(const Paint& paint) {
    if (m_state.flattened) {
        return;
    }
    if (m_state.shadow && m_state.shadow->color.alpha() > 0) {
        performWithShadow(paint, *m_state.shadow);
    } else {
        cairo_set_operator(m_cr, cairoOperator(m_state.blendMode));
        paint(m_cr);
    }
    assert(cairo_status(m_cr) == CAIRO_STATUS_SUCCESS);
}

// The operation is recorded, replayed into a layer of its own, and the layer's blurred alpha is
// painted in the shadow colour at the offset before the layer itself: so the shadow is cast by
// exactly what the operation draws, in device pixels, whatever the transform.
void Canvas::performWithShadow(const Paint& paint, const Shadow& shadow) {
    const double offsetX = std::isfinite(shadow.offset.width) ? shadow.offset.width * m_scale : 0;
    const double offsetY = std::isfinite(shadow.offset.height) ? shadow.offset.height * m_scale : 0;
    const float sigma = std::isfinite(shadow.blur) ? std::max(shadow.blur, 0.0f) * m_scale / 2 : 0;
    const double margin = std::ceil(3 * sigma) + 1;

    // Only what can reach the clip matters: the clip, grown by the offset and the blur.
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    cairo_restore(m_cr);
    const double reach = margin + std::max(std::abs(offsetX), std::abs(offsetY));
    const cairo_rectangle_t region{x1 - reach, y1 - reach, x2 - x1 + 2 * reach, y2 - y1 + 2 * reach};

    detail::Surface recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &region));
    cairo_t* recorder = cairo_create(recording.get());
    cairo_matrix_t matrix;
    cairo_get_matrix(m_cr, &matrix);
    cairo_set_matrix(recorder, &matrix);
    paint(recorder);
    cairo_destroy(recorder);

    double inkX = 0;
    double inkY = 0;
    double inkWidth = 0;
    double inkHeight = 0;
    cairo_recording_surface_ink_extents(recording.get(), &inkX, &inkY, &inkWidth, &inkHeight);
    if (!(inkWidth > 0 && inkHeight > 0)) {
        return;
    }
    const double left = std::floor(inkX - margin);
    const double top = std::floor(inkY - margin);
    std::unique_ptr<Bitmap> layer =
        Bitmap::create(static_cast<int>(std::ceil(inkX + inkWidth + margin) - left),
                       static_cast<int>(std::ceil(inkY + inkHeight + margin) - top));
    if (!layer) {
        return; // too large to hold: the operation is skipped rather than drawn without its shadow
    }
    cairo_t* layerContext = cairo_create(layer->cairoSurface());
    cairo_set_source_surface(layerContext, recording.get(), -left, -top);
    cairo_paint(layerContext);
    cairo_destroy(layerContext);
    const detail::Surface mask = detail::blurredAlpha(*layer, sigma);

    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    cairo_set_operator(m_cr, cairoOperator(m_state.blendMode));
    setSourceColor(m_cr, shadow.color);
    cairo_mask_surface(m_cr, mask.get(), left + offsetX, top + offsetY);
    cairo_set_source_surface(m_cr, layer->cairoSurface(), left, top);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
}

} // namespace gfx
