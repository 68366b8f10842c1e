#pragma once

// Internal to platform/gfx: the soft edge of shadows.

#include "platform/gfx/Bitmap.h"

#include <memory>

#include <cairo.h>

namespace gfx::detail {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// The alpha of the bitmap blurred like a Gaussian of that standard deviation (in pixels), as an
// alpha-only (A8) surface of the same size. Three box blurs stand in for the Gaussian.
Surface blurredAlpha(const Bitmap& bitmap, float sigma);

} // namespace gfx::detail
