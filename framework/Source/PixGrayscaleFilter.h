#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The luminance in all three colour channels; alpha kept.
extern const char* const PixGrayscaleFragmentShader;

// Turns the picture grey by luminance. Fed a luminance-only input (a camera's, say) it draws nothing
// and hands that input on as it is, with the source's turn.
class PixGrayscaleFilter : public PixFilter {
public:
    static std::shared_ptr<PixGrayscaleFilter> create();

    // The input's texture while it is luminance only, else the filter's own.
    GLuint textureForOutput() const override;
    bool providesMonochromeOutput() const override { return true; }
    bool wantsMonochromeInput() const override { return true; }
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;

protected:
    PixGrayscaleFilter();

    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;
    void informTargetsAboutNewFrameAtTime(PixFrameTime frameTime) override;
};

} // namespace zm
