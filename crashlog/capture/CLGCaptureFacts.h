#pragma once

#include "platform/core/Value.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zm {

struct CLGCaptureContext;

// What the facade and the service client ask of the gathered facts. Each answers nothing (or the
// stated default) while the context is not ready.

// Architecture name -> build-id text, from the executable's "archs" and "uuids" split at ":";
// nothing when either is missing or they differ in count.
std::optional<std::map<std::string, std::string>> CLGExecutableSliceMap(const CLGCaptureContext& context);
// "0.0.0" before the context is ready.
std::string CLGMinimumOSVersion(const CLGCaptureContext& context);
std::string CLGSDKVersion(const CLGCaptureContext& context);
// The hardware name without backslashes or double quotes.
std::optional<std::string> CLGModelText(const CLGCaptureContext& context);
// "version/build" without backslashes or double quotes.
std::optional<std::string> CLGOSVersionText(const CLGCaptureContext& context);
// Lower-case build-id text -> load address, one entry per image of the list.
std::map<std::string, uint64_t> CLGUUIDMap(const CLGCaptureContext& context);

} // namespace zm
