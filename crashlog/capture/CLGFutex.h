#pragma once

#include <atomic>
#include <cstdint>

namespace zm {

// The waits crash-time code makes, on words in memory prepared before the crash: plain system calls,
// safe in a signal handler. A word is a plain uint32_t reached through std::atomic_ref (where it sits
// in trivially constructed memory) or a std::atomic<uint32_t>.

int64_t CLGMonotonicNanoseconds();

// Wakes every thread waiting on `word`.
void CLGFutexWake(uint32_t* word);
void CLGFutexWake(std::atomic<uint32_t>& word);

// Waits while `word` holds `value`, at most until `deadline` (CLGMonotonicNanoseconds), for ever when
// it is negative. Answers the value it last saw.
uint32_t CLGFutexWaitWhile(uint32_t* word, uint32_t value, int64_t deadline);
uint32_t CLGFutexWaitWhile(std::atomic<uint32_t>& word, uint32_t value, int64_t deadline);

} // namespace zm
