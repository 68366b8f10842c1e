#pragma once

#include "framework/Source/PixFiveSampleBlurShaders.h"
#include "framework/Source/PixSeparableBlurFilter.h"

namespace zm {

// A Gaussian blur of nine texels read in five samples a pass, at 0, -/+1.3846153846 and -/+3.2307692308
// steps, weighted 0.2270270270, 0.3162162162 and 0.0702702703; it may be applied several times over.
class PixFastBlurFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixFastBlurFilter> create();

    // How many times the two passes run, each over the last result; 0 and 1 both mean once.
    unsigned blurPasses() const;
    void setBlurPasses(unsigned newValue);

protected:
    explicit PixFastBlurFilter(PixBlurredChannels channels = PixBlurredChannels::All);

    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;

private:
    unsigned m_blurPasses = 0; // on the processing queue
};

} // namespace zm
