#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"

#include "platform/media/PixelBufferPool.h"

namespace media {

std::shared_ptr<AssetWriterInputPixelBufferAdaptor>
AssetWriterInputPixelBufferAdaptor::create(std::shared_ptr<AssetWriterInput> input, PixelFormat format, int width,
                                           int height, std::size_t poolSize) {
    if (!input || input->mediaType() != MediaType::Video)
        return nullptr;
    auto pool = PixelBufferPool::create(format, width, height, poolSize);
    if (!pool)
        return nullptr;
    return std::shared_ptr<AssetWriterInputPixelBufferAdaptor>(
        new AssetWriterInputPixelBufferAdaptor(std::move(input), std::move(pool)));
}

AssetWriterInputPixelBufferAdaptor::AssetWriterInputPixelBufferAdaptor(std::shared_ptr<AssetWriterInput> input,
                                                                       std::shared_ptr<PixelBufferPool> pool)
    : m_input(std::move(input))
    , m_pool(std::move(pool)) {}

bool AssetWriterInputPixelBufferAdaptor::appendPixelBuffer(std::shared_ptr<PixelBuffer> pixelBuffer,
                                                           MediaTime presentationTime) {
    const auto sample = SampleBuffer::makeImage(std::move(pixelBuffer), presentationTime);
    return sample && m_input->appendSampleBuffer(sample);
}

} // namespace media
