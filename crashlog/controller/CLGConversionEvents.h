#pragma once

#include "platform/core/DispatchQueue.h"
#include "platform/core/Timer.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

// What conversion events are made of. This system has no advertising identifier, so the events are
// made only where one is given (tests).
struct CLGConversionSource {
    bool trackingOn = false;
    bool contextReady = false;
    std::optional<std::string> advertisingIdentifier;
    uint64_t storeItemId = 0;
    // Whether this start made the install identifier (the first launch of the installation).
    bool installIdentifierCreated = false;
    // With "/" replaced by "_".
    std::string bundleIdentifier;

    // The process's, from the capture context.
    static CLGConversionSource fromCaptureContext();
};

inline constexpr std::string_view kCLGInstallEventKey = "CrashlogInstallEventKey";

// The lower-case SHA-1 text of the advertising identifier, the conversion salt, the store item id and
// the event type; nothing unless the context is ready with an advertising identifier and an item id.
std::optional<std::string> CLGConversionEventKey(std::string_view eventType, const CLGConversionSource& source);

// "Install" (its key made in the run that made the install identifier and kept in the user defaults
// until a settings request succeeds) then "Activation", either, both or neither; nothing when tracking
// is off.
std::optional<core::Array> CLGConversionEventArray(const CLGConversionSource& source);

// Runs `reload` on `queue` an hour from now and every hour after, while the timer lives.
std::shared_ptr<core::Timer> CLGConversionTimerStart(std::shared_ptr<core::DispatchQueue> queue, std::function<void()> reload);

} // namespace zm
