#pragma once

#include "platform/core/Value.h"

#include <optional>
#include <string_view>

namespace zm {

// What a person looks for first in an uploaded session report: its identifier, the signal and the
// crashed thread's frames:
//   {"identifier": hex, "signal": {"name", "code", "address"},
//    "crashed_thread": {"name", "frames": [{"pc", "symbol", "offset"}]}}
// Nothing when the bytes are not a session report.
std::optional<core::Dictionary> summarizeSession(std::string_view bytes);

} // namespace zm
