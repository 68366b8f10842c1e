#pragma once

#include "platform/media/PixelBuffer.h"

#include <cstddef>
#include <memory>

namespace media {

// Recycles pixel buffers of one format and size, so that a stream of frames (a movie being written, a
// camera) does not allocate a picture a frame. A buffer taken from the pool goes back to it when its
// last owner lets go, wherever that happens; the pool may go away first, and then the buffer is freed.
//
// A pool holds at most `maximumBufferCount` buffers at once, in use or free: when all are in use it hands
// out none, which is how a consumer that falls behind (an encoder) shows up to its producer.
//
// Thread safety: every operation may be called from any thread.
class PixelBufferPool {
public:
    // nullptr for a format and size PixelBuffer::create refuses, or no buffers at all.
    static std::shared_ptr<PixelBufferPool> create(PixelFormat format, int width, int height,
                                                   std::size_t maximumBufferCount);
    ~PixelBufferPool();
    PixelBufferPool(const PixelBufferPool&) = delete;
    PixelBufferPool& operator=(const PixelBufferPool&) = delete;

    PixelFormat format() const;
    int width() const;
    int height() const;

    // A free buffer (its pixels are whatever its last user left, its attachments cleared), a new one
    // while the pool is below its maximum, else nullptr.
    std::shared_ptr<PixelBuffer> createPixelBuffer();

    struct State;

private:
    explicit PixelBufferPool(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
};

} // namespace media
