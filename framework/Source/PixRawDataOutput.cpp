#include "framework/Source/PixRawDataOutput.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixRenderTarget.h"
#include "framework/Source/PixTextureCopy.h"
#include "platform/media/PixelBuffer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zm {

std::shared_ptr<PixRawDataOutput> PixRawDataOutput::create(core::Size newImageSize, bool resultsInBGRAFormat) {
    return std::shared_ptr<PixRawDataOutput>(new PixRawDataOutput(newImageSize, resultsInBGRAFormat));
}

PixRawDataOutput::PixRawDataOutput(core::Size newImageSize, bool resultsInBGRAFormat)
    : m_imageSize(newImageSize)
    , m_outputBGRA(resultsInBGRAFormat) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        // The framebuffer is read back as red, green, blue, alpha: blue-first bytes need the colours
        // swapped on the way in.
        m_dataProgram = std::make_unique<PixTextureCopy>(m_outputBGRA ? PixColorSwizzlingFragmentShader
                                                                      : PixPassthroughFragmentShader);
    });
}

PixRawDataOutput::~PixRawDataOutput() {
    runSynchronouslyOnContextQueue([&] {
        destroyDataFBO();
        m_dataProgram.reset();
    });
}

void PixRawDataOutput::destroyDataFBO() {
    m_renderTarget.reset();
    m_pixelBuffer.reset();
    m_hasReadFromTheCurrentFrame = false;
}

void PixRawDataOutput::renderAtInternalSize() {
    const int width = PixPixelsWide(m_imageSize);
    const int height = PixPixelsHigh(m_imageSize);
    if (!m_renderTarget)
        m_renderTarget = PixRenderTarget::create(width, height);
    if (!m_pixelBuffer)
        m_pixelBuffer = media::PixelBuffer::create(media::PixelFormat::BGRA, width, height);
    if (!m_renderTarget || !m_pixelBuffer)
        return;
    m_renderTarget->bind();
    m_dataProgram->draw(m_inputTextureForDisplay, PixTextureCopy::kFullScreenVertices,
                        PixTextureCopy::kUnrotatedTextureCoordinates, {0, 0, 0, 1});
    m_renderTarget->readPixels(m_pixelBuffer->baseAddress(), m_pixelBuffer->bytesPerRow());
}

const std::uint8_t* PixRawDataOutput::rawBytesForImage() {
    const std::uint8_t* bytes = nullptr;
    runSynchronouslyOnContextQueue([&] {
        if (!m_hasReadFromTheCurrentFrame) {
            if (!PixContext::useImageProcessingContext())
                return;
            renderAtInternalSize();
            m_hasReadFromTheCurrentFrame = m_pixelBuffer != nullptr;
        }
        if (m_pixelBuffer)
            bytes = m_pixelBuffer->baseAddress();
    });
    return bytes;
}

std::size_t PixRawDataOutput::bytesPerRowInOutput() const {
    std::size_t bytesPerRow = 0;
    runSynchronouslyOnContextQueue([&] { bytesPerRow = m_pixelBuffer ? m_pixelBuffer->bytesPerRow() : 0; });
    return bytesPerRow;
}

GPUByteColorVector PixRawDataOutput::colorAtLocation(core::Point locationInImage) {
    GPUByteColorVector colour;
    runSynchronouslyOnContextQueue([&] {
        const std::uint8_t* bytes = rawBytesForImage();
        if (!bytes)
            return;
        const float width = static_cast<float>(m_pixelBuffer->width());
        const float height = static_cast<float>(m_pixelBuffer->height());
        // The bytes hold the picture's top row first; points count from the bottom.
        const float x = std::clamp(locationInImage.x, 0.0f, width - 1);
        const float y = std::clamp(height - locationInImage.y, 0.0f, height - 1);
        // Rows are padded: step by the buffer's row length, not by the width.
        const std::uint8_t* pixel =
            bytes + static_cast<std::size_t>(std::lround(y)) * m_pixelBuffer->bytesPerRow() +
            static_cast<std::size_t>(std::lround(x)) * 4;
        colour = {pixel[0], pixel[1], pixel[2], pixel[3]};
        if (m_outputBGRA)
            std::swap(colour.red, colour.blue);
    });
    return colour;
}

core::Size PixRawDataOutput::imageSize() const {
    core::Size size;
    runSynchronouslyOnContextQueue([&] { size = m_imageSize; });
    return size;
}

void PixRawDataOutput::setImageSize(core::Size newImageSize) {
    runSynchronouslyOnContextQueue([&] {
        m_imageSize = newImageSize;
        destroyDataFBO();
    });
}

void PixRawDataOutput::setNewFrameAvailableBlock(NewFrameAvailableBlock block) {
    runSynchronouslyOnContextQueue([&] { m_newFrameAvailableBlock = std::move(block); });
}

void PixRawDataOutput::newFrameReadyAtTime(PixFrameTime, int) {
    m_hasReadFromTheCurrentFrame = false;
    if (m_newFrameAvailableBlock)
        m_newFrameAvailableBlock();
}

void PixRawDataOutput::setInputTexture(GLuint newInputTexture, int) {
    m_inputTextureForDisplay = newInputTexture;
}

} // namespace zm
