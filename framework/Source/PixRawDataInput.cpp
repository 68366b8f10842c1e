#include "framework/Source/PixRawDataInput.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"

namespace zm {

std::shared_ptr<PixRawDataInput> PixRawDataInput::create(const std::uint8_t* bytesToUpload, core::Size imageSize,
                                                         GLenum pixelFormat, GLenum pixelType) {
    std::shared_ptr<PixRawDataInput> input(new PixRawDataInput(pixelFormat, pixelType));
    input->uploadBytes(bytesToUpload, imageSize);
    return input;
}

PixRawDataInput::PixRawDataInput(GLenum pixelFormat, GLenum pixelType)
    : m_pixelFormat(pixelFormat)
    , m_pixelType(pixelType) {}

void PixRawDataInput::updateDataFromBytes(const std::uint8_t* bytesToUpload, core::Size imageSize) {
    uploadBytes(bytesToUpload, imageSize);
}

void PixRawDataInput::uploadBytes(const std::uint8_t* bytesToUpload, core::Size imageSize) {
    initializeOutputTextureIfNeeded();
    runSynchronouslyOnContextQueue([&] {
        m_uploadedImageSize = imageSize;
        if (!PixContext::useImageProcessingContext())
            return;
        const GLenum internalFormat = m_pixelFormat == GL_RGB ? GL_RGB : GL_RGBA;
        glBindTexture(GL_TEXTURE_2D, m_outputTexture);
        // The caller's rows are packed: three-byte pixels do not fill whole words.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), PixPixelsWide(imageSize),
                     PixPixelsHigh(imageSize), 0, m_pixelFormat, m_pixelType, bytesToUpload);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
    });
}

bool PixRawDataInput::processData() {
    if (!m_dataUpdateSemaphore.tryWait())
        return false;
    auto self = std::static_pointer_cast<PixRawDataInput>(shared_from_this());
    runAsynchronouslyOnContextQueue([self] {
        const auto targets = self->m_targets;
        const auto textureIndices = self->m_targetTextureIndices;
        for (std::size_t position = 0; position < targets.size(); ++position) {
            targets[position]->setInputSize(self->m_uploadedImageSize, textureIndices[position]);
            targets[position]->newFrameReadyAtTime(PixFrameTime::invalidTime(), textureIndices[position]);
        }
        self->m_dataUpdateSemaphore.signal();
    });
    return true;
}

GLenum PixRawDataInput::pixelFormat() const {
    GLenum format = 0;
    runSynchronouslyOnContextQueue([&] { format = m_pixelFormat; });
    return format;
}

void PixRawDataInput::setPixelFormat(GLenum newValue) {
    runSynchronouslyOnContextQueue([&] { m_pixelFormat = newValue; });
}

GLenum PixRawDataInput::pixelType() const {
    GLenum type = 0;
    runSynchronouslyOnContextQueue([&] { type = m_pixelType; });
    return type;
}

void PixRawDataInput::setPixelType(GLenum newValue) {
    runSynchronouslyOnContextQueue([&] { m_pixelType = newValue; });
}

core::Size PixRawDataInput::outputImageSize() const {
    core::Size size;
    runSynchronouslyOnContextQueue([&] { size = m_uploadedImageSize; });
    return size;
}

} // namespace zm
