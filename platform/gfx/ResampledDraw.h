#pragma once

// Internal to platform/gfx: a picture put down enlarged (or shrunk a little), smoothed, square to the
// pixels of an image, without going through a Cairo context.

#include <span>

using cairo_surface_t = struct _cairo_surface;

namespace gfx::detail {

// Pixels [x1, x2) x [y1, y2) of an image.
struct PixelBox {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

// A part of a picture (an image surface) put over a rectangle of an image's pixels.
struct ResampledPart {
    cairo_surface_t* picture = nullptr;
    // The part, in the picture's pixels.
    int sx = 0;
    int sy = 0;
    int sw = 0;
    int sh = 0;
    // Where it goes, in the image's pixels.
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    float alpha = 1;
};

// What to do with a part that covers few pixels.
enum class Small { Draw, Leave };

// Puts the part over the image's pixels inside the boxes (which do not overlap), smoothed between its
// pixels and padded at its edges, at its alpha; a pixel the rectangle covers only partly takes that share
// of the alpha. False, having drawn nothing, when either surface is not a four-byte image, or when the
// part covers few pixels and `small` leaves it.
//
// A pixel comes out the same whatever the boxes and however large the image is: the part's position is
// worked out from its own rectangle, not from where the drawing starts. A partial repaint or a picture of
// a group cut to the damage then matches drawing the whole. A large part is drawn in bands of rows on
// helper threads, with the same pixels.
bool drawResampled(cairo_surface_t* image, const ResampledPart& part, std::span<const PixelBox> boxes,
                   Small small = Small::Draw);

} // namespace gfx::detail
