#include "framework/Source/PixFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <cassert>

namespace zm {

const char* const PixDefaultVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

varying vec2 textureCoordinate;

void main()
{
    gl_Position = position;
    textureCoordinate = inputTextureCoordinate.xy;
}
)";

const char* const PixPassthroughFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

void main()
{
    gl_FragColor = texture2D(inputImageTexture, textureCoordinate);
}
)";

namespace {

// A triangle strip over the whole clip space: (-1, -1), (1, -1), (-1, 1), (1, 1).
constexpr GLfloat kFullScreenQuadVertices[8] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};

// For each rotation, the texture coordinates of the quad's corners in the same order. Texture row 0
// lands at the bottom of the framebuffer, and read-back returns the bottom row first, so an image
// uploaded top row first comes back top row first.
constexpr std::array<std::array<GLfloat, 8>, 8> kRotationTextureCoordinates = {{
    {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f}, // none
    {1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}, // rotate left
    {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f}, // rotate right
    {0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f}, // flip vertical
    {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f}, // flip horizontal
    {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f}, // rotate right, flip vertical
    {1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}, // rotate right, flip horizontal
    {1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f}, // rotate 180
}};

bool isZero(core::Size size) {
    return size.width == 0 && size.height == 0;
}

// The largest size of the aspect ratio that fits inside the bounds; zero for a size without area.
core::Size aspectFit(core::Size aspectRatio, core::Size bounds) {
    if (aspectRatio.width <= 0 || aspectRatio.height <= 0)
        return {};
    const float scale = std::min(bounds.width / aspectRatio.width, bounds.height / aspectRatio.height);
    return {aspectRatio.width * scale, aspectRatio.height * scale};
}

} // namespace

GLsizei PixPixelsWide(core::Size size) {
    return static_cast<GLsizei>(size.width);
}

GLsizei PixPixelsHigh(core::Size size) {
    return static_cast<GLsizei>(size.height);
}

std::shared_ptr<PixFilter> PixFilter::create() {
    return create(PixPassthroughFragmentShader);
}

std::shared_ptr<PixFilter> PixFilter::create(const std::string& fragmentShaderString) {
    return create(PixDefaultVertexShader, fragmentShaderString);
}

std::shared_ptr<PixFilter> PixFilter::create(const std::string& vertexShaderString,
                                             const std::string& fragmentShaderString) {
    return std::shared_ptr<PixFilter>(new PixFilter(vertexShaderString, fragmentShaderString));
}

PixFilter::PixFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString,
                     const std::vector<std::string>& extraAttributes)
    : m_uniformStateRestorationBlocks(std::make_shared<UniformStateRestorationBlocks>()) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        FilterProgram prepared = prepareProgram(vertexShaderString, fragmentShaderString, extraAttributes);
        m_filterProgram = std::move(prepared.program);
        m_filterPositionAttribute = prepared.positionAttribute;
        m_filterTextureCoordinateAttribute = prepared.textureCoordinateAttribute;
        m_filterInputTextureUniform = prepared.inputTextureUniform;
    });
}

PixFilter::~PixFilter() {
    PixFilter::destroyFilterFBO();
}

PixFilter::FilterProgram PixFilter::prepareProgram(const std::string& vertexShaderString,
                                                   const std::string& fragmentShaderString,
                                                   const std::vector<std::string>& extraAttributes) {
    FilterProgram prepared;
    prepared.program = PixContext::sharedImageProcessingContext().programForVertexShaderString(
        vertexShaderString, fragmentShaderString);
    GLProgram& program = *prepared.program;
    if (!program.initialized()) {
        program.addAttribute("position");
        program.addAttribute("inputTextureCoordinate");
        for (const std::string& attribute : extraAttributes)
            program.addAttribute(attribute);
        if (!program.link()) {
            // The shaders are the framework's own text, so this is a programming error. The unlinked
            // program stays: drawing with it only raises GL errors.
            core::log(core::LogLevel::Error, "Program link log: " + program.programLog());
            core::log(core::LogLevel::Error, "Fragment shader compile log: " + program.fragmentShaderLog());
            core::log(core::LogLevel::Error, "Vertex shader compile log: " + program.vertexShaderLog());
            assert(!"Filter shader link failed");
        }
    }
    prepared.positionAttribute = program.attributeIndex("position");
    prepared.textureCoordinateAttribute = program.attributeIndex("inputTextureCoordinate");
    prepared.inputTextureUniform = program.uniformIndex("inputImageTexture");
    PixContext::setActiveShaderProgram(prepared.program);
    glEnableVertexAttribArray(prepared.positionAttribute);
    glEnableVertexAttribArray(prepared.textureCoordinateAttribute);
    for (const std::string& attribute : extraAttributes)
        glEnableVertexAttribArray(program.attributeIndex(attribute));
    return prepared;
}

const std::array<GLfloat, 8>& PixFilter::textureCoordinatesForRotation(PixInputRotation rotationMode) {
    assert(rotationMode >= 0 && rotationMode < 8);
    return kRotationTextureCoordinates[static_cast<std::size_t>(rotationMode) & 7u];
}

core::Point PixFilter::rotatedPoint(core::Point pointToRotate, PixInputRotation rotation) {
    const float x = pointToRotate.x;
    const float y = pointToRotate.y;
    switch (rotation) {
    case PixInputRotationNone:
        return {x, y};
    case PixInputRotationRotateLeft:
        return {1.0f - y, x};
    case PixInputRotationRotateRight:
        return {y, 1.0f - x};
    case PixInputRotationFlipVertical:
        return {x, 1.0f - y};
    case PixInputRotationFlipHorizontal:
        return {1.0f - x, y};
    case PixInputRotationRotateRightFlipVertical:
        return {y, x};
    case PixInputRotationRotateRightFlipHorizontal:
        return {1.0f - y, 1.0f - x};
    case PixInputRotationRotate180:
        return {1.0f - x, 1.0f - y};
    }
    assert(!"unknown rotation");
    return pointToRotate;
}

const GLfloat* PixFilter::fullScreenQuadVertices() {
    return kFullScreenQuadVertices;
}

core::Size PixFilter::sizeOfFBO() const {
    const core::Size outputSize = maximumOutputSize();
    if (!isZero(outputSize) && outputSize.width <= m_inputTextureSize.width)
        return outputSize;
    return m_inputTextureSize;
}

void PixFilter::setBackgroundColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent,
                                      GLfloat alphaComponent) {
    runSynchronouslyOnContextQueue([&] {
        m_backgroundColor = {redComponent, greenComponent, blueComponent, alphaComponent};
    });
}

// Uniform setters

void PixFilter::setAndExecuteUniformStateCallbackAtIndex(GLint uniform,
                                                         const std::shared_ptr<GLProgram>& shaderProgram,
                                                         std::function<void()> uniformStateBlock) {
    if (!shaderProgram)
        return;
    auto blocks = uniformStateRestorationBlocksForProgram(*shaderProgram);
    runAsynchronouslyOnContextQueue([blocks, shaderProgram, uniform, block = std::move(uniformStateBlock)] {
        PixContext::setActiveShaderProgram(shaderProgram);
        (*blocks)[uniform] = block;
        block();
    });
}

std::shared_ptr<PixFilter::UniformStateRestorationBlocks>
PixFilter::uniformStateRestorationBlocksForProgram(const GLProgram&) const {
    return m_uniformStateRestorationBlocks;
}

void PixFilter::setUniformsForProgramAtIndex(unsigned) {
    for (const auto& [uniform, block] : *m_uniformStateRestorationBlocks)
        block();
}

void PixFilter::setFloat(GLfloat floatValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(uniform, shaderProgram,
                                             [uniform, floatValue] { glUniform1f(uniform, floatValue); });
}

void PixFilter::setInteger(GLint intValue, GLint uniform, const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(uniform, shaderProgram,
                                             [uniform, intValue] { glUniform1i(uniform, intValue); });
}

void PixFilter::setPoint(core::Point pointValue, GLint uniform,
                         const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(
        uniform, shaderProgram, [uniform, pointValue] { glUniform2f(uniform, pointValue.x, pointValue.y); });
}

void PixFilter::setSize(core::Size sizeValue, GLint uniform,
                        const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(uniform, shaderProgram, [uniform, sizeValue] {
        glUniform2f(uniform, sizeValue.width, sizeValue.height);
    });
}

void PixFilter::setVec3(GPUVector3 vectorValue, GLint uniform,
                        const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(
        uniform, shaderProgram, [uniform, vectorValue] { glUniform3fv(uniform, 1, &vectorValue.one); });
}

void PixFilter::setVec4(GPUVector4 vectorValue, GLint uniform,
                        const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(
        uniform, shaderProgram, [uniform, vectorValue] { glUniform4fv(uniform, 1, &vectorValue.one); });
}

void PixFilter::setMatrix3f(const GPUMatrix3x3& matrix, GLint uniform,
                            const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(uniform, shaderProgram, [uniform, matrix] {
        glUniformMatrix3fv(uniform, 1, GL_FALSE, &matrix.one.one);
    });
}

void PixFilter::setMatrix4f(const GPUMatrix4x4& matrix, GLint uniform,
                            const std::shared_ptr<GLProgram>& shaderProgram) {
    setAndExecuteUniformStateCallbackAtIndex(uniform, shaderProgram, [uniform, matrix] {
        glUniformMatrix4fv(uniform, 1, GL_FALSE, &matrix.one.one);
    });
}

void PixFilter::setFloatArray(std::vector<GLfloat> arrayValue, GLint uniform,
                              const std::shared_ptr<GLProgram>& shaderProgram) {
    // The write keeps its own copy: it is replayed before every later draw, long after the caller's
    // array may be gone.
    setAndExecuteUniformStateCallbackAtIndex(
        uniform, shaderProgram, [uniform, values = std::move(arrayValue)] {
            glUniform1fv(uniform, static_cast<GLsizei>(values.size()), values.data());
        });
}

GLint PixFilter::uniformLocation(const std::string& uniformName) const {
    GLint location = -1;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        location = m_filterProgram->uniformIndex(uniformName);
    });
    return location;
}

void PixFilter::setFloat(GLfloat newFloat, const std::string& uniformName) {
    setFloat(newFloat, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setInteger(GLint newInteger, const std::string& uniformName) {
    setInteger(newInteger, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setPoint(core::Point newPoint, const std::string& uniformName) {
    setPoint(newPoint, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setSize(core::Size newSize, const std::string& uniformName) {
    setSize(newSize, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setFloatVec3(GPUVector3 newVec3, const std::string& uniformName) {
    setVec3(newVec3, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setFloatVec4(GPUVector4 newVec4, const std::string& uniformName) {
    setVec4(newVec4, uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setFloatArray(std::vector<GLfloat> arrayValue, const std::string& uniformName) {
    setFloatArray(std::move(arrayValue), uniformLocation(uniformName), m_filterProgram);
}

void PixFilter::setPreventRendering(bool newValue) {
    runSynchronouslyOnContextQueue([&] { m_preventRendering = newValue; });
}

// Sizing

core::Size PixFilter::rotatedSize(core::Size sizeToRotate, int) const {
    if (PixRotationSwapsWidthAndHeight(m_inputRotation))
        return {sizeToRotate.height, sizeToRotate.width};
    return sizeToRotate;
}

void PixFilter::setInputSize(core::Size newSize, int textureIndex) {
    if (m_preventRendering)
        return;
    if (m_overrideInputSize) {
        if (!isZero(m_forcedMaximumSize))
            m_inputTextureSize = aspectFit(newSize, m_forcedMaximumSize);
        return;
    }
    const core::Size rotated = rotatedSize(newSize, textureIndex);
    // A frame without a whole pixel each way has nothing to render into.
    if (PixPixelsWide(rotated) < 1 || PixPixelsHigh(rotated) < 1) {
        m_inputTextureSize = {};
        return;
    }
    if (rotated == m_inputTextureSize)
        return;
    m_inputTextureSize = rotated;
    recreateFilterFBO();
}

void PixFilter::forceProcessingAtSize(core::Size frameSize) {
    runSynchronouslyOnContextQueue([&] {
        if (!isZero(frameSize)) {
            m_overrideInputSize = true;
            m_inputTextureSize = frameSize;
            m_forcedMaximumSize = {};
        } else {
            m_overrideInputSize = false;
        }
        destroyFilterFBO();
        for (const auto& target : m_targets)
            target->destroyFilterFBO();
    });
}

void PixFilter::forceProcessingAtSizeRespectingAspectRatio(core::Size frameSize) {
    runSynchronouslyOnContextQueue([&] {
        if (!isZero(frameSize)) {
            m_overrideInputSize = true;
            m_forcedMaximumSize = frameSize;
        } else {
            m_overrideInputSize = false;
            m_inputTextureSize = {};
            m_forcedMaximumSize = {};
        }
        destroyFilterFBO();
        for (const auto& target : m_targets)
            target->destroyFilterFBO();
    });
}

// Framebuffers

void PixFilter::createFilterFBOofSize(core::Size currentFBOSize) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glActiveTexture(GL_TEXTURE1);
        glGenFramebuffers(1, &m_filterFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_filterFramebuffer);
        initializeOutputTextureIfNeeded();
        allocateAndAttachOutputTexture(m_outputTexture, currentFBOSize);
    });
}

void PixFilter::allocateAndAttachOutputTexture(GLuint texture, core::Size size) {
    const GPUTextureOptions& options = outputTextureOptions();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(options.internalFormat), PixPixelsWide(size),
                 PixPixelsHigh(size), 0, options.format, options.type, nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    notifyTargetsAboutNewOutputTexture();
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        core::log(core::LogLevel::Error, "Incomplete filter FBO: " + std::to_string(status));
        assert(!"Incomplete filter FBO");
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PixFilter::destroyFilterFBO() {
    if (!m_filterFramebuffer)
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glDeleteFramebuffers(1, &m_filterFramebuffer);
        m_filterFramebuffer = 0;
    });
}

void PixFilter::setFilterFBO() {
    const core::Size size = sizeOfFBO();
    if (!m_filterFramebuffer) {
        createFilterFBOofSize(size);
        setupFilterForSize(size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_filterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixFilter::recreateFilterFBO() {
    if (!m_filterFramebuffer)
        return;
    destroyFilterFBO();
    deleteOutputTexture();
    setFilterFBO();
}

void PixFilter::cleanupOutputImage() {
    destroyFilterFBO();
    deleteOutputTexture();
}

// Frames

void PixFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                            GLuint sourceTexture) {
    if (m_preventRendering)
        return;
    PixContext::setActiveShaderProgram(m_filterProgram);
    setFilterFBO();
    setUniformsForProgramAtIndex(0);

    glClearColor(m_backgroundColor[0], m_backgroundColor[1], m_backgroundColor[2], m_backgroundColor[3]);
    glClear(GL_COLOR_BUFFER_BIT);

    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    glUniform1i(m_filterInputTextureUniform, 2);

    glVertexAttribPointer(m_filterPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, vertices);
    glVertexAttribPointer(m_filterTextureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0, textureCoordinates);
    setAdditionalInputsForDraw();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void PixFilter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    // A frame before any size (or after a zero one) has nothing to render into.
    if (PixPixelsWide(sizeOfFBO()) < 1 || PixPixelsHigh(sizeOfFBO()) < 1)
        return;
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    renderToTextureWithVertices(kFullScreenQuadVertices,
                                textureCoordinatesForRotation(m_inputRotation).data(), m_filterSourceTexture);
    informTargetsAboutNewFrameAtTime(frameTime);
}

void PixFilter::informTargetsAboutNewFrameAtTime(PixFrameTime frameTime) {
    if (m_frameProcessingCompletionBlock)
        m_frameProcessingCompletionBlock(*this, frameTime);
    releaseInputTexturesIfNeeded();

    // A target may change this filter's list while it handles its frame; serve the list as it was.
    const auto targets = m_targets;
    const auto textureIndices = m_targetTextureIndices;
    for (std::size_t position = 0; position < targets.size(); ++position) {
        if (targets[position].get() == targetToIgnoreForUpdates())
            continue;
        targets[position]->setInputSize(outputFrameSize(), textureIndices[position]);
        targets[position]->newFrameReadyAtTime(frameTime, textureIndices[position]);
    }
}

void PixFilter::releaseInputTexturesIfNeeded() {
    if (!m_shouldConserveMemoryForNextFrame)
        return;
    if (m_firstTextureDelegate)
        m_firstTextureDelegate->textureNoLongerNeededForTarget(this);
    m_shouldConserveMemoryForNextFrame = false;
}

void PixFilter::conserveMemoryForNextFrame() {
    runSynchronouslyOnContextQueue([&] {
        // A filter forced to a size keeps its images.
        if (m_overrideInputSize)
            return;
        PixOutput::conserveMemoryForNextFrame();
    });
}

void PixFilter::endProcessing() {
    const auto targets = m_targets;
    for (const auto& target : targets)
        target->endProcessing();
}

// Inputs

void PixFilter::setInputTexture(GLuint newInputTexture, int) {
    m_filterSourceTexture = newInputTexture;
}

void PixFilter::setTextureDelegate(PixTextureDelegate* newTextureDelegate, int) {
    m_firstTextureDelegate = newTextureDelegate;
}

void PixFilter::setInputRotation(PixInputRotation newInputRotation, int) {
    m_inputRotation = newInputRotation;
}

void PixFilter::setCurrentlyReceivingMonochromeInput(bool newValue) {
    m_currentlyReceivingMonochromeInput = newValue;
}

// Read-back

gl::RgbaImage PixFilter::newImageFromCurrentlyProcessedOutput() {
    const GPUTextureOptions& options = outputTextureOptions();
    if (options.internalFormat != GL_RGBA) {
        assert(!"For conversion to an image the output texture format for this filter must be GL_RGBA.");
        return {};
    }
    if (options.type != GL_UNSIGNED_BYTE) {
        assert(!"For conversion to an image the type of the output texture of this filter must be "
                "GL_UNSIGNED_BYTE.");
        return {};
    }
    gl::RgbaImage image;
    runSynchronouslyOnContextQueue([&] {
        if (!PixContext::useImageProcessingContext())
            return;
        const core::Size size = sizeOfFBO();
        if (PixPixelsWide(size) < 1 || PixPixelsHigh(size) < 1)
            return;
        setOutputFBO();
        image = gl::RgbaImage::readFramebuffer(PixPixelsWide(size), PixPixelsHigh(size));
    });
    return image;
}

} // namespace zm
