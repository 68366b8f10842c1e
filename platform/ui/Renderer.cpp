#include "platform/ui/Renderer.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerPainter.h"

namespace ui {

void Renderer::render(Layer& root, gfx::Canvas& canvas) {
    detail::LayerPainter(canvas).paintRoot(root);
}

std::shared_ptr<const gfx::Image> Renderer::snapshot(Layer& root, float scale) {
    gfx::ImageContext context(root.bounds().size, scale);
    render(root, context.canvas());
    return std::move(context).takeImage();
}

} // namespace ui
