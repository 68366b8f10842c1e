#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Cuts the base out by the overlay: the overlay's brightness times its alpha decides how much of the
// base is laid over the filter's background colour (transparent black at first). The base is the first
// input, the mask the second.
class PixMaskFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixMaskFilter> create();

protected:
    PixMaskFilter();

    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;
};

} // namespace zm
