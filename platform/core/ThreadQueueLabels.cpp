#include "platform/core/ThreadQueueLabels.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace core {
namespace {

constexpr int32_t kFree = 0;
constexpr int32_t kFilling = -1;

// Constant-initialised, so that it exists before any queue runs and for as long as any reader.
constinit ThreadQueueLabels::Entry g_entries[ThreadQueueLabels::kCapacity] = {};

} // namespace

ThreadQueueLabels::Scope::Scope(std::string_view label)
    : m_slot(publish(static_cast<int32_t>(gettid()), label)) {}

ThreadQueueLabels::Scope::~Scope() {
    withdraw(m_slot);
}

int ThreadQueueLabels::publish(int32_t thread, std::string_view label) {
    for (size_t slot = 0; slot < kCapacity; ++slot) {
        Entry& entry = g_entries[slot];
        int32_t expected = kFree;
        if (!entry.thread.compare_exchange_strong(expected, kFilling))
            continue;
        const size_t length = std::min(label.size(), kLabelSize - 1);
        memcpy(entry.label, label.data(), length);
        entry.label[length] = '\0';
        entry.thread.store(thread, std::memory_order_release);
        return static_cast<int>(slot);
    }
    return -1;
}

void ThreadQueueLabels::withdraw(int slot) {
    if (slot >= 0)
        g_entries[slot].thread.store(kFree, std::memory_order_release);
}

const char* ThreadQueueLabels::labelOf(int32_t thread) {
    if (thread <= 0)
        return nullptr;
    for (const Entry& entry : g_entries) {
        if (entry.thread.load(std::memory_order_acquire) == thread)
            return entry.label;
    }
    return nullptr;
}

} // namespace core
