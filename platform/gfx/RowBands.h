#pragma once

// Internal to platform/gfx: work in bands shared between the calling thread and a few kept helpers.

#include <functional>

namespace gfx::detail {

// The threads that may run bands at once: the caller (worker 0) and its helpers (1, 2...).
inline constexpr int kBandWorkers = 3;

// Runs `work(worker, band)` once for every band from 0 to `count` - 1 and returns when all have run.
// The caller takes bands itself until none are left and then waits only for those a helper has already
// begun, so it is never much slower than running them all alone, even when the helpers get no core. A
// worker runs one band at a time; the bands must touch different memory. While another caller's bands
// run, the caller runs its own alone.
void shareBands(int count, const std::function<void(int worker, int band)>& work);

} // namespace gfx::detail
