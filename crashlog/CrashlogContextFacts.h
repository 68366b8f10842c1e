#pragma once

#include "crashlog/service/CLGClientDelegate.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zm {

// What the facade reads of the capture context's gathered facts for the service client and for
// symbolication.

// Architecture name and build-id text, in the order of the names; nothing before capture is ready.
std::optional<CLGExecutableSlices> CrashlogContextExecutableSlices();
// "0.0.0" before capture is ready.
std::string CrashlogContextMinimumOSVersion();
std::string CrashlogContextSDKVersion();
// The identifiers the context holds, then "model" and "os_version", each when present; empty before
// capture is ready.
core::Dictionary CrashlogContextIdentification();
// The images of this run by build-id, for symbolication.
std::map<std::string, uint64_t> CrashlogContextUUIDMap();

} // namespace zm
