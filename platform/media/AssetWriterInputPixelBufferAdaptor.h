#pragma once

#include "platform/media/AssetWriterInput.h"
#include "platform/media/PixelBuffer.h"

#include <memory>

namespace media {

class PixelBufferPool;

// Appends pixel buffers with their times to a video input, and offers a pool of buffers of the
// input's picture size to draw them into.
//
// Thread safety: every operation may be called from any thread.
class AssetWriterInputPixelBufferAdaptor {
public:
    // A pool of `poolSize` buffers of the format and size; nullptr for a video input that cannot take
    // that size, or an audio input.
    static std::shared_ptr<AssetWriterInputPixelBufferAdaptor> create(std::shared_ptr<AssetWriterInput> input,
                                                                      PixelFormat format, int width, int height,
                                                                      std::size_t poolSize);

    const std::shared_ptr<AssetWriterInput>& assetWriterInput() const { return m_input; }
    const std::shared_ptr<PixelBufferPool>& pixelBufferPool() const { return m_pool; }

    // As AssetWriterInput::appendSampleBuffer, for a picture shown at `presentationTime`.
    bool appendPixelBuffer(std::shared_ptr<PixelBuffer> pixelBuffer, MediaTime presentationTime);

private:
    AssetWriterInputPixelBufferAdaptor(std::shared_ptr<AssetWriterInput> input, std::shared_ptr<PixelBufferPool> pool);

    const std::shared_ptr<AssetWriterInput> m_input;
    const std::shared_ptr<PixelBufferPool> m_pool;
};

} // namespace media
