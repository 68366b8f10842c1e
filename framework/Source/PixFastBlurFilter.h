#pragma once

#include "framework/Source/PixSeparableBlurFilter.h"

namespace zm {

// Five coordinates per pass, at 0, -/+1.3846153846 and -/+3.2307692308 steps: sampled between texels,
// they gather the nine texels of a Gaussian with the sampler's own interpolation.
extern const char* const PixFastBlurVertexShader;
// The five samples weighted 0.2270270270, 0.3162162162 and 0.0702702703, all four channels.
extern const char* const PixFastBlurFragmentShader;

// A Gaussian blur of nine texels read in five samples a pass; it may be applied several times over.
class PixFastBlurFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixFastBlurFilter> create();

    // How many times the two passes run, each over the last result; 0 and 1 both mean once.
    unsigned blurPasses() const;
    void setBlurPasses(unsigned newValue);

protected:
    explicit PixFastBlurFilter(const std::string& fragmentShaderString = PixFastBlurFragmentShader);

    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;

private:
    unsigned m_blurPasses = 0; // on the processing queue
};

} // namespace zm
