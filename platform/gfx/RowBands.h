#pragma once

#include <functional>

namespace gfx::detail {

// Runs `work(band)` for every band from 0 to `count` - 1, on the calling thread and on a few kept helper
// threads at once, and returns when all have run. The bands of one call must touch different memory.
// While another caller's bands run, these run on the calling thread alone.
void forEachBand(int count, const std::function<void(int)>& work);

} // namespace gfx::detail
