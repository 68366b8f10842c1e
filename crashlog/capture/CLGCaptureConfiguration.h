#pragma once

#include "crashlog/capture/CLGHostInfo.h"
#include "platform/core/Clock.h"
#include "platform/core/Value.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace zm {

class ExceptionPorts;

// How the application was built, as the facade is told and the record's "build" line reports it.
struct CLGBuildEnvironment {
    int32_t osMin = 0;
    int32_t osMax = 0;
    std::string config = "unknown";
    bool arc = false;
    std::string compiler = "unknown";
    bool debug = false;
};

// Which device identifiers the host facts collect.
enum CLGIdentifierFlag : uint32_t {
    kCLGIdentifierMACAddress = 2,
    kCLGIdentifierVendor = 4,
    kCLGIdentifierAdvertising = 8,
};

// What the facade hands to the capture start-up; read only while the context is filled.
struct CLGCaptureConfiguration {
    std::string apiKey;
    // The session's CLGUUID text, with dashes.
    std::string sessionIdentifier;
    std::string recordPath;
    std::string crashMarkerPath;
    uint32_t identifierFlags = 0;
    // The log every session writes into, and where a crashed session's log is moved.
    std::string runningLogPath;
    std::string crashLogPath;
    CLGBuildEnvironment buildEnvironment;
    // Run hourly while conversion tracking is on.
    std::function<void()> settingsReloadAction;
    // Exception-mask bits that the exception server must leave to the signal handler.
    uint32_t machMaskToLeave = 0;

    // What this system answers in place of the platform's own queries.
    // The application's information property list.
    core::Dictionary infoPlist;
    // The machine's facts, gathered with the others at start-up (nothing known without it).
    std::function<CLGHostFacts()> hostFacts;
    // The system's version text, which decides the exception server's mask.
    std::string systemVersion;
    // Whether this start made the install identifier.
    bool installIdentifierCreated = false;
    // The exception ports the server registers with; the system's when null.
    ExceptionPorts* exceptionPorts = nullptr;
    // How long start-up waits for the gatherers before it gives up protecting the static part.
    core::Duration gathererTimeout = std::chrono::seconds(5);
};

} // namespace zm
