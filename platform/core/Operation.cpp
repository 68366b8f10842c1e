#include "platform/core/Operation.h"

#include <cassert>

namespace core {

void Operation::finish() {
    std::function<void()> onFinished;
    {
        std::lock_guard lock(m_mutex);
        if (m_finished.load())
            return;
        m_executing.store(false);
        m_finished.store(true);
        onFinished = std::move(m_onFinished);
    }
    if (onFinished)
        onFinished();
}

void Operation::run(std::function<void()> onFinished) {
    bool starts;
    {
        std::lock_guard lock(m_mutex);
        assert(!m_executing.load() && !m_finished.load() && "an operation runs once");
        m_onFinished = std::move(onFinished);
        starts = !isCancelled();
        m_executing.store(starts);
    }
    if (starts)
        start();
    else
        finish();
}

void Operation::discard() {
    std::lock_guard lock(m_mutex);
    m_finished.store(true);
}

void BlockOperation::start() {
    if (m_block)
        m_block();
    finish();
}

} // namespace core
