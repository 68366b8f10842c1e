#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// A filter that draws twice per frame: the first program renders the input into an intermediate
// framebuffer, the second renders that into the output framebuffer, which targets and read-back see.
// The input's rotation is applied in the first pass; the second always reads the intermediate image
// upright. When both passes use the same shader texts they share one GL program, and each pass keeps
// its own uniform values.
class PixTwoPassFilter : public PixFilter {
public:
    static std::shared_ptr<PixTwoPassFilter> create(const std::string& firstStageFragmentShaderString,
                                                    const std::string& secondStageFragmentShaderString);
    ~PixTwoPassFilter() override;

    GLuint textureForOutput() const override { return m_secondFilterOutputTexture; }
    void destroyFilterFBO() override;

protected:
    PixTwoPassFilter(const std::string& firstStageVertexShaderString,
                     const std::string& firstStageFragmentShaderString,
                     const std::string& secondStageVertexShaderString,
                     const std::string& secondStageFragmentShaderString);

    void deleteOutputTexture() override;
    void createFilterFBOofSize(core::Size currentFBOSize) override;
    void setFilterFBO() override;
    void setOutputFBO() override { setSecondFilterFBO(); }
    // Binds the output framebuffer, making both framebuffers first when they are missing.
    virtual void setSecondFilterFBO();
    bool hasSecondFilterFramebuffer() const { return m_secondFilterFramebuffer != 0; }
    void recreateFilterFBO() override;
    void releaseInputTexturesIfNeeded() override {} // the input is released inside the render
    void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                     GLuint sourceTexture) override;
    void setUniformsForProgramAtIndex(unsigned programIndex) override;
    std::shared_ptr<UniformStateRestorationBlocks>
    uniformStateRestorationBlocksForProgram(const GLProgram& shaderProgram) const override;

    std::shared_ptr<GLProgram> m_secondFilterProgram;

private:
    void initializeSecondOutputTextureIfNeeded();
    // Builds the output framebuffer; inside work already on the processing queue.
    void createSecondFilterFBOofSize(core::Size currentFBOSize);

    GLuint m_secondFilterOutputTexture = 0;
    GLuint m_secondFilterPositionAttribute = 0;
    GLuint m_secondFilterTextureCoordinateAttribute = 0;
    GLint m_secondFilterInputTextureUniform = -1;
    GLuint m_secondFilterFramebuffer = 0;
    std::shared_ptr<UniformStateRestorationBlocks> m_secondProgramUniformStateRestorationBlocks;
};

} // namespace zm
