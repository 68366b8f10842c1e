#include "platform/media/CaptureOutput.h"

#include "platform/core/DispatchQueue.h"
#include "platform/media/CaptureSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/PixelBufferConversion.h"

namespace media {

// Data outputs

std::shared_ptr<CaptureDataOutput> CaptureDataOutput::createVideoOutput() {
    return std::shared_ptr<CaptureDataOutput>(new CaptureDataOutput(MediaType::Video));
}

std::shared_ptr<CaptureDataOutput> CaptureDataOutput::createAudioOutput() {
    return std::shared_ptr<CaptureDataOutput>(new CaptureDataOutput(MediaType::Audio));
}

CaptureDataOutput::CaptureDataOutput(MediaType mediaType)
    : CaptureOutput(mediaType) {}

PixelFormat CaptureDataOutput::videoPixelFormat() const {
    const std::lock_guard lock(m_mutex);
    return m_videoPixelFormat;
}

void CaptureDataOutput::setVideoPixelFormat(PixelFormat format) {
    const std::lock_guard lock(m_mutex);
    m_videoPixelFormat = format;
}

std::vector<PixelFormat> CaptureDataOutput::availableVideoPixelFormats() {
    return {PixelFormat::BiPlanar420FullRange, PixelFormat::BiPlanar420VideoRange, PixelFormat::BGRA};
}

void CaptureDataOutput::setSampleBufferDelegate(SampleBufferDelegate delegate, std::shared_ptr<core::DispatchQueue> queue) {
    const std::lock_guard lock(m_mutex);
    m_delegate = std::move(delegate);
    m_queue = std::move(queue);
}

void CaptureDataOutput::deliver(const std::shared_ptr<SampleBuffer>& sample) {
    SampleBufferDelegate delegate;
    std::shared_ptr<core::DispatchQueue> queue;
    PixelFormat format;
    {
        const std::lock_guard lock(m_mutex);
        delegate = m_delegate;
        queue = m_queue;
        format = m_videoPixelFormat;
    }
    if (!delegate || !queue)
        return;
    std::shared_ptr<SampleBuffer> delivered = sample;
    if (const auto& picture = sample->imageBuffer(); picture && picture->format() != format) {
        delivered = SampleBuffer::makeImage(convertPixelBuffer(*picture, format, picture->width(), picture->height()),
                                            sample->presentationTime(), sample->duration());
        if (!delivered)
            return;
    }
    // Each delivery holds the output.
    auto self = shared_from_this();
    queue->async([self, delegate, delivered] { delegate(delivered, *self); });
}

// Still image output

std::shared_ptr<CaptureStillImageOutput> CaptureStillImageOutput::create() {
    return std::shared_ptr<CaptureStillImageOutput>(new CaptureStillImageOutput);
}

CaptureStillImageOutput::CaptureStillImageOutput()
    : CaptureOutput(MediaType::Video)
    , m_queue(core::DispatchQueue::serial("org.zembrix.media.stillImageOutput")) {}

PixelFormat CaptureStillImageOutput::pixelFormat() const {
    const std::lock_guard lock(m_mutex);
    return m_pixelFormat;
}

void CaptureStillImageOutput::setPixelFormat(PixelFormat format) {
    const std::lock_guard lock(m_mutex);
    m_pixelFormat = format;
}

std::vector<PixelFormat> CaptureStillImageOutput::availableImageDataPixelFormats() {
    return {PixelFormat::BiPlanar420FullRange, PixelFormat::BiPlanar420VideoRange, PixelFormat::BGRA};
}

void CaptureStillImageOutput::captureStillImageAsynchronously(CompletionHandler handler) {
    ++m_capturing;
    auto self = std::static_pointer_cast<CaptureStillImageOutput>(shared_from_this());
    m_queue->async([self, handler = std::move(handler)] {
        std::shared_ptr<CaptureSession> session;
        PixelFormat format;
        {
            const std::lock_guard lock(self->m_mutex);
            session = self->m_session.lock();
            format = self->m_pixelFormat;
        }
        const std::shared_ptr<SampleBuffer> latest = session && session->isRunning() ? session->latestPicture() : nullptr;
        std::shared_ptr<SampleBuffer> photo;
        if (latest) {
            const PixelBuffer& picture = *latest->imageBuffer();
            photo = SampleBuffer::makeImage(convertPixelBuffer(picture, format, picture.width(), picture.height()),
                                            latest->presentationTime(), latest->duration());
        }
        if (photo) {
            const auto& inputs = session->inputs();
            std::string camera;
            for (const auto& input : inputs) {
                if (input->device()->mediaType() == MediaType::Video)
                    camera = input->device()->localizedName();
            }
            photo->setAttachments({{"Camera", camera},
                                   {"PixelWidth", photo->imageBuffer()->width()},
                                   {"PixelHeight", photo->imageBuffer()->height()}});
            handler(photo, std::nullopt);
        } else {
            handler(nullptr, mediaError(MediaErrorDeviceFailed, "The camera has no picture to take"));
        }
        --self->m_capturing;
    });
}

} // namespace media
