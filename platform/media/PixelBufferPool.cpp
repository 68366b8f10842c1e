#include "platform/media/PixelBufferPool.h"

#include <mutex>
#include <vector>

namespace media {

struct PixelBufferPool::State {
    PixelFormat format;
    int width;
    int height;
    std::size_t maximumBufferCount;

    std::mutex mutex;
    std::vector<std::unique_ptr<PixelBuffer>> freeBuffers; // guarded by mutex
    std::size_t bufferCount = 0;                            // in use and free; guarded by mutex
};

std::shared_ptr<PixelBufferPool> PixelBufferPool::create(PixelFormat format, int width, int height,
                                                         std::size_t maximumBufferCount) {
    if (maximumBufferCount == 0 || !PixelBuffer::create(format, width, height))
        return nullptr;
    auto state = std::make_shared<State>();
    state->format = format;
    state->width = width;
    state->height = height;
    state->maximumBufferCount = maximumBufferCount;
    return std::shared_ptr<PixelBufferPool>(new PixelBufferPool(std::move(state)));
}

PixelBufferPool::PixelBufferPool(std::shared_ptr<State> state)
    : m_state(std::move(state)) {}

PixelBufferPool::~PixelBufferPool() = default;

PixelFormat PixelBufferPool::format() const {
    return m_state->format;
}

int PixelBufferPool::width() const {
    return m_state->width;
}

int PixelBufferPool::height() const {
    return m_state->height;
}

std::shared_ptr<PixelBuffer> PixelBufferPool::createPixelBuffer() {
    std::unique_ptr<PixelBuffer> buffer;
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_state->freeBuffers.empty()) {
            buffer = std::move(m_state->freeBuffers.back());
            m_state->freeBuffers.pop_back();
        } else if (m_state->bufferCount < m_state->maximumBufferCount) {
            buffer = PixelBuffer::allocate(m_state->format, m_state->width, m_state->height);
            if (!buffer)
                return nullptr;
            ++m_state->bufferCount;
        } else {
            return nullptr;
        }
    }
    buffer->setYCbCrMatrix(std::nullopt);
    // The buffer comes home through its deleter; a pool that is gone by then no longer wants it.
    return std::shared_ptr<PixelBuffer>(buffer.release(), [pool = std::weak_ptr(m_state)](PixelBuffer* released) {
        std::unique_ptr<PixelBuffer> owned(released);
        if (const auto state = pool.lock()) {
            std::lock_guard lock(state->mutex);
            state->freeBuffers.push_back(std::move(owned));
        }
    });
}

} // namespace media
