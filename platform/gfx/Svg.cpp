#include "platform/gfx/Svg.h"

#include "platform/gfx/ImageContext.h"
#include "platform/gfx/Png.h"

#include <cmath>

#include <librsvg/rsvg.h>

namespace gfx {
namespace {

core::Error imageError(long code, std::string description) {
    return core::Error{std::string(kImageErrorDomain), code, std::move(description), {}};
}

struct HandleDeleter {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};

// The document's size in its own pixels: its width and height, else its view box's.
std::optional<core::Size> documentSize(RsvgHandle* handle) {
    double width = 0;
    double height = 0;
    if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height)) {
        return core::Size{static_cast<float>(width), static_cast<float>(height)};
    }
    gboolean hasViewBox = false;
    RsvgRectangle viewBox;
    rsvg_handle_get_intrinsic_dimensions(handle, nullptr, nullptr, nullptr, nullptr, &hasViewBox, &viewBox);
    if (hasViewBox) {
        return core::Size{static_cast<float>(viewBox.width), static_cast<float>(viewBox.height)};
    }
    return std::nullopt;
}

} // namespace

core::Result<std::shared_ptr<const Image>> renderSvg(std::span<const std::uint8_t> bytes, float scale) {
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, HandleDeleter> handle(
        rsvg_handle_new_from_data(bytes.data(), bytes.size(), &error));
    if (!handle) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        return imageError(kImageErrorUnreadable, "not an SVG image: " + message);
    }
    const std::optional<core::Size> size = documentSize(handle.get());
    if (!size || !(size->width > 0) || !(size->height > 0)) {
        return imageError(kImageErrorUnreadable, "SVG image without a size");
    }
    ImageContext context(*size, scale);
    if (context.bitmap().width() == 0) {
        return imageError(kImageErrorTooLarge, "SVG image too large at this scale");
    }
    cairo_t* cr = cairo_create(context.bitmap().cairoSurface());
    cairo_scale(cr, context.scale(), context.scale());
    const RsvgRectangle viewport{0, 0, size->width, size->height};
    const bool rendered = rsvg_handle_render_document(handle.get(), cr, &viewport, &error);
    cairo_destroy(cr);
    if (!rendered) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        return imageError(kImageErrorUnreadable, "damaged SVG image: " + message);
    }
    return std::move(context).takeImage();
}

} // namespace gfx
