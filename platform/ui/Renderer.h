#pragma once

#include <memory>

namespace gfx {
class Canvas;
class Image;
} // namespace gfx

namespace ui {

class Layer;

// Draws layer trees with what is on screen now (their presentation), into a canvas at its scale.
// A view's drawing is made once and kept until it needs display again, so that a frame only composes
// kept pictures; a translucent layer with sublayers, and a masked one, is composed apart first so that
// it fades as one.
class Renderer {
public:
    Renderer() = delete;

    // Draws `root` and its sublayers with the root's bounds filling the canvas from its top-left corner
    // (the root's own position and transform are not applied).
    static void render(Layer& root, gfx::Canvas& canvas);

    // A picture of `root`'s tree as render() draws it, the size of its bounds, at `scale`.
    static std::shared_ptr<const gfx::Image> snapshot(Layer& root, float scale);
};

} // namespace ui
