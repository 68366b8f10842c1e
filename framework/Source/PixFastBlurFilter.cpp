#include "framework/Source/PixFastBlurFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixFastBlurFilter> PixFastBlurFilter::create() {
    return std::shared_ptr<PixFastBlurFilter>(new PixFastBlurFilter);
}

PixFastBlurFilter::PixFastBlurFilter(PixBlurredChannels channels)
    : PixSeparableBlurFilter(
          pixFiveSampleBlurVertexShader("1.3846153846", "3.2307692308"),
          pixFiveSampleBlurFragmentShader("0.2270270270", "0.3162162162", "0.0702702703", channels)) {}

unsigned PixFastBlurFilter::blurPasses() const {
    unsigned passes = 0;
    runSynchronouslyOnContextQueue([&] { passes = m_blurPasses; });
    return passes;
}

void PixFastBlurFilter::setBlurPasses(unsigned newValue) {
    runSynchronouslyOnContextQueue([&] { m_blurPasses = newValue; });
}

void PixFastBlurFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                    GLuint sourceTexture) {
    PixSeparableBlurFilter::renderToTextureWithVertices(vertices, textureCoordinates, sourceTexture);
    // Each repeat reads the last result, which is upright.
    for (unsigned pass = 1; pass < m_blurPasses; ++pass)
        PixSeparableBlurFilter::renderToTextureWithVertices(
            vertices, textureCoordinatesForRotation(PixInputRotationNone).data(), textureForOutput());
}

} // namespace zm
