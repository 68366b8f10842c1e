#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// A Voronoi diagram by jump flooding. The input marks seeds: an opaque texel is a seed whose colour
// encodes its position (red and green the position within a 256-pixel block, blue the block: column
// blue mod 8, row blue / 8, all times 256); transparent texels are empty. The output gives each pixel
// its nearest seed's colour. The frame and `sizeInPixels` are one square power of two.
//
// The passes go back and forth between two framebuffers, each looking ever nearer; targets and
// read-back get the last one.
class PixJFAVoronoiFilter : public PixFilter {
public:
    static std::shared_ptr<PixJFAVoronoiFilter> create();
    ~PixJFAVoronoiFilter() override;

    // The size the seed colours are measured in. One that is not a square power of two is logged and
    // not sent.
    core::Size sizeInPixels() const;
    void setSizeInPixels(core::Size newValue);
    // The power of two at or above the larger side.
    static unsigned nextPowerOfTwo(core::Size size);
    // The flooding passes after the first, less one: log2 of the frame's power of two. On the queue.
    unsigned numPasses() const { return m_numPasses; }

    GLuint textureForOutput() const override;
    void destroyFilterFBO() override;

protected:
    PixJFAVoronoiFilter();

    void createFilterFBOofSize(core::Size currentFBOSize) override;
    void setFilterFBO() override;
    void setOutputFBO() override;
    void deleteOutputTexture() override;
    void setUniformsForProgramAtIndex(unsigned programIndex) override;
    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;

private:
    GLint m_sampleStepUniform = -1;
    GLint m_sizeUniform = -1;
    // On the processing queue.
    core::Size m_sizeInPixels;
    unsigned m_numPasses = 0;
    float m_sampleStep = 0.5f;
    GLuint m_secondFilterFramebuffer = 0;
    GLuint m_secondFilterOutputTexture = 0;
    bool m_drawingIntoSecond = false; // where the pass being drawn lands
    bool m_lastPassInSecond = false;  // where the last frame ended
};

} // namespace zm
