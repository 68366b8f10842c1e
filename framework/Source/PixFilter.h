#pragma once

#include "framework/Source/PixFilterNode.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zm {

class GLProgram;

struct GPUVector3 {
    GLfloat one, two, three;
};
struct GPUVector4 {
    GLfloat one, two, three, four;
};
struct GPUMatrix3x3 {
    GPUVector3 one, two, three;
};
struct GPUMatrix4x4 {
    GPUVector4 one, two, three, four;
};

// Attributes "position" and "inputTextureCoordinate"; passes the position through and the texture
// coordinate on as "textureCoordinate".
extern const char* const PixDefaultVertexShader;
// Samples "inputImageTexture" at "textureCoordinate".
extern const char* const PixPassthroughFragmentShader;

// The base of every filter: a target that renders each incoming frame through its program into its own
// framebuffer, and a source that hands that framebuffer's texture on to its targets. Filters built from
// the same shader texts share one GL program (PixContext's cache) and still render with their own
// uniform values, which each filter replays before every draw.
//
// Threads: construction, framebuffer work, sizing and read-back wait for the processing queue; uniform
// setters queue their write and return; frames are rendered on the queue only.
class PixFilter : public PixFilterNode {
public:
    using UniformStateRestorationBlocks = std::map<GLint, std::function<void()>>;

    // A pass-through filter.
    static std::shared_ptr<PixFilter> create();
    static std::shared_ptr<PixFilter> create(const std::string& fragmentShaderString);
    static std::shared_ptr<PixFilter> create(const std::string& vertexShaderString,
                                             const std::string& fragmentShaderString);
    ~PixFilter() override;

    // The texture coordinates of the full-screen quad's four corners that sample an input turned so.
    static const std::array<GLfloat, 8>& textureCoordinatesForRotation(PixInputRotation rotationMode);
    // Maps a point given in the image (0 to 1 each way) into the input texture turned so.
    static core::Point rotatedPoint(core::Point pointToRotate, PixInputRotation rotation);

    // The size of the framebuffer rendered into, in pixels.
    virtual core::Size sizeOfFBO() const;
    // The frame size told to targets.
    virtual core::Size outputFrameSize() const { return m_inputTextureSize; }
    // The colour each draw starts from; transparent black unless set.
    void setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent,
                               GLfloat alphaComponent);

    // Uniform setters. Each queues a write of the value into the program and keeps it, so that it is
    // written again before every later draw of this filter.
    void setFloat(GLfloat floatValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setInteger(GLint intValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setPoint(core::Point pointValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setSize(core::Size sizeValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setVec3(GPUVector3 vectorValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setVec4(GPUVector4 vectorValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram);
    void setMatrix3f(const GPUMatrix3x3& matrix, GLint uniform,
                     const std::shared_ptr<GLProgram>& shaderProgram);
    void setMatrix4f(const GPUMatrix4x4& matrix, GLint uniform,
                     const std::shared_ptr<GLProgram>& shaderProgram);
    void setFloatArray(std::vector<GLfloat> arrayValue, GLint uniform,
                       const std::shared_ptr<GLProgram>& shaderProgram);
    // The same, for a uniform of the filter's own program given by name.
    void setFloat(GLfloat newFloat, const std::string& uniformName);
    void setInteger(GLint newInteger, const std::string& uniformName);
    void setPoint(core::Point newPoint, const std::string& uniformName);
    void setSize(core::Size newSize, const std::string& uniformName);
    void setFloatVec3(GPUVector3 newVec3, const std::string& uniformName);
    void setFloatVec4(GPUVector4 newVec4, const std::string& uniformName);
    void setFloatArray(std::vector<GLfloat> arrayValue, const std::string& uniformName);

    // A program of the shaders from the context's cache, linked with the two attributes every filter
    // feeds ("position" at 0, "inputTextureCoordinate" at 1) and then the extra ones in their order,
    // made the active program with all of them enabled; and where its inputs are. On the queue. The
    // sinks that copy their input (PixTextureCopy) take theirs the same way.
    struct FilterProgram {
        std::shared_ptr<GLProgram> program;
        GLuint positionAttribute = 0;
        GLuint textureCoordinateAttribute = 0;
        GLint inputTextureUniform = -1;
    };
    static FilterProgram prepareProgram(const std::string& vertexShaderString,
                                        const std::string& fragmentShaderString,
                                        const std::vector<std::string>& extraAttributes = {});

    // The program the filter draws with (shared with every filter of the same shaders).
    const std::shared_ptr<GLProgram>& filterProgram() const { return m_filterProgram; }

    // While true, frames and size changes are ignored.
    bool preventRendering() const { return m_preventRendering; }
    void setPreventRendering(bool newValue);
    bool currentlyReceivingMonochromeInput() const { return m_currentlyReceivingMonochromeInput; }

    // PixOutput
    void forceProcessingAtSize(core::Size frameSize) override;
    void forceProcessingAtSizeRespectingAspectRatio(core::Size frameSize) override;
    void cleanupOutputImage() override;
    gl::RgbaImage newImageFromCurrentlyProcessedOutput() override;
    void conserveMemoryForNextFrame() override;

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate* newTextureDelegate, int textureIndex) override;
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;
    core::Size maximumOutputSize() const override { return {}; }
    void endProcessing() override;
    bool wantsMonochromeInput() const override { return false; }
    void setCurrentlyReceivingMonochromeInput(bool newValue) override;
    void destroyFilterFBO() override;

protected:
    PixFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString,
              const std::vector<std::string>& extraAttributes = {});

    // Run after the framebuffer is made for a size, and whenever a size-dependent property changes.
    virtual void setupFilterForSize(core::Size) {}
    virtual void createFilterFBOofSize(core::Size currentFBOSize);
    // Binds the framebuffer rendered into, making it first when there is none.
    virtual void setFilterFBO();
    // Binds the framebuffer that holds the final output, for read-back.
    virtual void setOutputFBO() { setFilterFBO(); }
    virtual void recreateFilterFBO();
    virtual void releaseInputTexturesIfNeeded();
    virtual void renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                             GLuint sourceTexture);
    // Binds the inputs beyond the first (their textures and coordinates) just before a draw; filters of
    // one input have none.
    virtual void setAdditionalInputsForDraw() {}
    // The whole clip space as a four-vertex triangle strip: (-1, -1), (1, -1), (-1, 1), (1, 1).
    static const GLfloat* fullScreenQuadVertices();
    virtual void informTargetsAboutNewFrameAtTime(PixFrameTime frameTime);
    core::Size rotatedSize(core::Size sizeToRotate, int textureIndex) const;

    // Replays the stored uniform writes of one of the filter's programs (0: the only one here).
    virtual void setUniformsForProgramAtIndex(unsigned programIndex);
    // The table that keeps the writes for a program of this filter.
    virtual std::shared_ptr<UniformStateRestorationBlocks>
    uniformStateRestorationBlocksForProgram(const GLProgram& shaderProgram) const;

    // Gives the texture storage of the size, attaches it to the bound framebuffer and tells targets
    // the new output texture. On the queue.
    void allocateAndAttachOutputTexture(GLuint texture, core::Size size);

    GLuint m_filterSourceTexture = 0;
    GLuint m_filterFramebuffer = 0;
    std::shared_ptr<GLProgram> m_filterProgram;
    GLuint m_filterPositionAttribute = 0;
    GLuint m_filterTextureCoordinateAttribute = 0;
    GLint m_filterInputTextureUniform = -1;
    std::array<GLfloat, 4> m_backgroundColor{0, 0, 0, 0};
    PixInputRotation m_inputRotation = PixInputRotationNone;
    bool m_currentlyReceivingMonochromeInput = false;
    bool m_preventRendering = false;
    // Shared with queued writes, so that a write still queued when the filter goes away lands harmlessly.
    std::shared_ptr<UniformStateRestorationBlocks> m_uniformStateRestorationBlocks;

    // Where the filter's program takes the uniform (looked up on the processing queue); -1 for none.
    GLint uniformLocation(const std::string& uniformName) const;

private:
    // Stores the write under the location in the program's table and runs it, on the queue.
    void setAndExecuteUniformStateCallbackAtIndex(GLint uniform,
                                                  const std::shared_ptr<GLProgram>& shaderProgram,
                                                  std::function<void()> uniformStateBlock);
};

// Whole pixels of a frame size, as GL takes them.
GLsizei PixPixelsWide(core::Size size);
GLsizei PixPixelsHigh(core::Size size);

} // namespace zm
