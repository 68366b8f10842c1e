#pragma once

#include "framework/Source/PixTwoInputCrossTextureSamplingFilter.h"

namespace zm {

// Pastes the detail of an overlay into a base without a seam: where the overlay is opaque, each pass
// makes a pixel the mean of its four neighbours plus the overlay's own detail there (its pixel less the
// mean of its neighbours), and the passes relax towards the seamless result. The base is the first
// input, the overlay the second; the passes go back and forth between two framebuffers, and targets and
// read-back get the last one.
class PixPoissonBlendFilter : public PixTwoInputCrossTextureSamplingFilter {
public:
    static std::shared_ptr<PixPoissonBlendFilter> create();
    ~PixPoissonBlendFilter() override;

    // How strongly each pass takes the pasted result; 0.5 at first.
    float mix() const { return m_mix; }
    void setMix(float newValue);
    // The passes a frame; 10 at first (0 draws one as 1 does).
    unsigned numIterations() const;
    void setNumIterations(unsigned newValue);

    GLuint textureForOutput() const override;
    void destroyFilterFBO() override;

protected:
    PixPoissonBlendFilter();

    void setFilterFBO() override;
    void setOutputFBO() override;
    void recreateFilterFBO() override;
    void deleteOutputTexture() override;
    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;

private:
    GLint m_mixUniform = -1;
    float m_mix = 0.5f;
    // On the processing queue.
    unsigned m_numIterations = 10;
    GLuint m_secondFilterFramebuffer = 0;
    GLuint m_secondFilterOutputTexture = 0;
    bool m_drawingIntoSecond = false; // where the pass being drawn lands
    bool m_lastPassInSecond = false;  // where the last frame ended
};

} // namespace zm
