#include "framework/Source/PixAverageColor.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixColorPackingFilter.h"
#include "framework/Source/PixContext.h"
#include "platform/core/Log.h"

#include <cassert>
#include <limits>

namespace zm {

namespace {

const char* const kColorAveragingFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying vec2 upperLeftInputTextureCoordinate;
varying vec2 upperRightInputTextureCoordinate;
varying vec2 lowerLeftInputTextureCoordinate;
varying vec2 lowerRightInputTextureCoordinate;

void main()
{
    vec4 upperLeftColor = texture2D(inputImageTexture, upperLeftInputTextureCoordinate);
    vec4 upperRightColor = texture2D(inputImageTexture, upperRightInputTextureCoordinate);
    vec4 lowerLeftColor = texture2D(inputImageTexture, lowerLeftInputTextureCoordinate);
    vec4 lowerRightColor = texture2D(inputImageTexture, lowerRightInputTextureCoordinate);

    gl_FragColor = 0.25 * (upperLeftColor + upperRightColor + lowerLeftColor + lowerRightColor);
}
)";

} // namespace

std::shared_ptr<PixAverageColor> PixAverageColor::create() {
    return std::shared_ptr<PixAverageColor>(new PixAverageColor(kColorAveragingFragmentShader, kColorAveragingFragmentShader));
}

PixAverageColor::PixAverageColor(const std::string& firstStageFragmentShaderString,
                                 const std::string& laterStagesFragmentShaderString)
    : PixFilter(PixCornerSamplingVertexShader, firstStageFragmentShaderString) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_firstStageProgram = prepareStageProgram(firstStageFragmentShaderString);
        m_laterStagesProgram = prepareStageProgram(laterStagesFragmentShaderString);
    });
    // The block is handed the filter itself, so it holds no reference to it.
    setFrameProcessingCompletionBlock([](PixOutput& output, PixFrameTime frameTime) {
        static_cast<PixAverageColor&>(output).extractAverageColorAtFrameTime(frameTime);
    });
}

PixAverageColor::~PixAverageColor() {
    PixAverageColor::destroyFilterFBO();
    PixAverageColor::deleteOutputTexture();
}

PixAverageColor::StageProgram PixAverageColor::prepareStageProgram(const std::string& fragmentShaderString) {
    StageProgram stage;
    stage.filterProgram = prepareProgram(PixCornerSamplingVertexShader, fragmentShaderString);
    stage.texelWidthUniform = stage.filterProgram.program->uniformIndex("texelWidth");
    stage.texelHeightUniform = stage.filterProgram.program->uniformIndex("texelHeight");
    return stage;
}

void PixAverageColor::setColorAverageProcessingFinishedBlock(ColorAverageProcessingFinishedBlock block) {
    runSynchronouslyOnContextQueue([&] { m_colorAverageProcessingFinishedBlock = std::move(block); });
}

std::vector<core::Size> PixAverageColor::stageSizesForInputSize(core::Size inputSize) {
    std::vector<core::Size> sizes;
    long width = PixPixelsWide(inputSize), height = PixPixelsHigh(inputSize);
    while (width / 4 >= 2 && height / 4 >= 2) {
        width /= 4;
        height /= 4;
        sizes.push_back({static_cast<float>(width), static_cast<float>(height)});
    }
    return sizes;
}

void PixAverageColor::buildStages(core::Size inputSize) {
    destroyFilterFBO();
    deleteOutputTexture();
    m_stagesBuiltForSize = inputSize;
    m_stageSizes = stageSizesForInputSize(inputSize);
    const GPUTextureOptions& options = outputTextureOptions();
    glActiveTexture(GL_TEXTURE1);
    for (const core::Size& size : m_stageSizes) {
        GLuint texture = 0, framebuffer = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(options.minFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(options.magFilter));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(options.wrapS));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(options.wrapT));
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(options.internalFormat), PixPixelsWide(size),
                     PixPixelsHigh(size), 0, options.format, options.type, nullptr);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        if (status != GL_FRAMEBUFFER_COMPLETE) {
            core::log(core::LogLevel::Error, "Incomplete filter FBO: " + std::to_string(status));
            assert(!"Incomplete filter FBO");
        }
        m_stageTextures.push_back(texture);
        m_stageFramebuffers.push_back(framebuffer);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PixAverageColor::drawStages() {
    for (std::size_t stage = 0; stage < m_stageSizes.size(); ++stage) {
        const StageProgram& program = stage == 0 ? m_firstStageProgram : m_laterStagesProgram;
        const core::Size size = m_stageSizes[stage];
        PixContext::setActiveShaderProgram(program.filterProgram.program);
        glBindFramebuffer(GL_FRAMEBUFFER, m_stageFramebuffers[stage]);
        glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);

        glActiveTexture(GL_TEXTURE2);
        glBindTexture(GL_TEXTURE_2D, stage == 0 ? m_filterSourceTexture : m_stageTextures[stage - 1]);
        glUniform1i(program.filterProgram.inputTextureUniform, 2);
        glUniform1f(program.texelWidthUniform, 0.5f / size.width);
        glUniform1f(program.texelHeightUniform, 0.5f / size.height);

        glVertexAttribPointer(program.filterProgram.positionAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                              fullScreenQuadVertices());
        glVertexAttribPointer(program.filterProgram.textureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                              textureCoordinatesForRotation(PixInputRotationNone).data());
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
}

void PixAverageColor::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    if (m_preventRendering)
        return;
    if (m_inputTextureSize != m_stagesBuiltForSize)
        buildStages(m_inputTextureSize);
    m_outputTextureRetainCount = static_cast<unsigned>(m_targets.size());
    drawStages();
    informTargetsAboutNewFrameAtTime(frameTime);
}

void PixAverageColor::extractAverageColorAtFrameTime(PixFrameTime frameTime) {
    std::array<std::uint64_t, 4> sums{};
    std::size_t pixelCount = 0;
    if (!m_stageSizes.empty()) {
        // The last stage is still bound; the buffer takes this frame's size, whatever the last one's.
        const core::Size last = m_stageSizes.back();
        pixelCount = static_cast<std::size_t>(PixPixelsWide(last)) * static_cast<std::size_t>(PixPixelsHigh(last));
        m_rawImagePixels.resize(pixelCount * 4);
        glBindFramebuffer(GL_FRAMEBUFFER, m_stageFramebuffers.back());
        glReadPixels(0, 0, PixPixelsWide(last), PixPixelsHigh(last), GL_RGBA, GL_UNSIGNED_BYTE, m_rawImagePixels.data());
        for (std::size_t index = 0; index < m_rawImagePixels.size(); ++index)
            sums[index % 4] += m_rawImagePixels[index];
    }
    reportAverage(sums, pixelCount, frameTime);
}

void PixAverageColor::reportAverage(const std::array<std::uint64_t, 4>& sums, std::size_t pixelCount,
                                    PixFrameTime frameTime) {
    if (!m_colorAverageProcessingFinishedBlock)
        return;
    const auto average = [pixelCount](std::uint64_t sum) {
        return pixelCount == 0 ? std::numeric_limits<float>::quiet_NaN()
                               : static_cast<float>(static_cast<double>(sum) / pixelCount / 255.0);
    };
    m_colorAverageProcessingFinishedBlock(average(sums[0]), average(sums[1]), average(sums[2]), average(sums[3]),
                                          frameTime);
}

void PixAverageColor::destroyFilterFBO() {
    PixFilter::destroyFilterFBO();
    if (m_stageFramebuffers.empty())
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glDeleteFramebuffers(static_cast<GLsizei>(m_stageFramebuffers.size()), m_stageFramebuffers.data());
        m_stageFramebuffers.clear();
        m_stagesBuiltForSize = {};
    });
}

void PixAverageColor::deleteOutputTexture() {
    PixOutput::deleteOutputTexture();
    if (m_stageTextures.empty())
        return;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        glDeleteTextures(static_cast<GLsizei>(m_stageTextures.size()), m_stageTextures.data());
        m_stageTextures.clear();
        m_stageSizes.clear();
        m_stagesBuiltForSize = {};
    });
}

} // namespace zm
