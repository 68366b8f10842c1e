#include "platform/documents/FileQueue.h"

#include "platform/core/DispatchQueue.h"

namespace documents {

FileQueue& FileQueue::shared() {
    static FileQueue queue;
    return queue;
}

FileQueue::FileQueue()
    : m_queue(core::DispatchQueue::serial("documents.files")) {}

void FileQueue::async(std::function<void()> work) {
    ++m_pending;
    m_queue->async([this, work = std::move(work)] {
        work();
        --m_pending;
    });
}

void FileQueue::sync(std::function<void()> work) {
    ++m_pending;
    m_queue->sync([&] { work(); });
    --m_pending;
}

void FileQueue::waitUntilIdle() {
    m_queue->sync([] {});
}

} // namespace documents
