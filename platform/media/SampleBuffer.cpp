#include "platform/media/SampleBuffer.h"

#include "platform/media/PixelBuffer.h"

namespace media {

SampleBuffer::SampleBuffer(MediaType mediaType, MediaTime presentationTime, MediaTime duration)
    : m_mediaType(mediaType)
    , m_presentationTime(presentationTime)
    , m_duration(duration) {}

std::shared_ptr<SampleBuffer> SampleBuffer::makeImage(std::shared_ptr<PixelBuffer> imageBuffer,
                                                      MediaTime presentationTime, MediaTime duration) {
    if (!imageBuffer)
        return nullptr;
    std::shared_ptr<SampleBuffer> sample(new SampleBuffer(MediaType::Video, presentationTime, duration));
    sample->m_imageBuffer = std::move(imageBuffer);
    return sample;
}

std::shared_ptr<SampleBuffer> SampleBuffer::makeAudio(AudioFormat format, std::vector<float> samples,
                                                      MediaTime presentationTime) {
    if (!format.isValid() || samples.size() % static_cast<std::size_t>(format.channelCount) != 0)
        return nullptr;
    const auto frames = static_cast<std::int64_t>(samples.size() / static_cast<std::size_t>(format.channelCount));
    std::shared_ptr<SampleBuffer> sample(
        new SampleBuffer(MediaType::Audio, presentationTime, MediaTime::make(frames, format.sampleRate)));
    sample->m_audioFormat = format;
    sample->m_samples = std::move(samples);
    return sample;
}

std::size_t SampleBuffer::frameCount() const {
    return m_audioFormat.isValid() ? m_samples.size() / static_cast<std::size_t>(m_audioFormat.channelCount) : 0;
}

} // namespace media
