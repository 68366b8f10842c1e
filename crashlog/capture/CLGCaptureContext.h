#pragma once

#include "crashlog/capture/CLGBinaryImage.h"
#include "crashlog/capture/CLGCrashImages.h"
#include "crashlog/capture/CLGExceptionInfo.h"
#include "crashlog/capture/CLGExecutableInfo.h"
#include "crashlog/capture/CLGHostInfo.h"
#include "crashlog/capture/CLGLogInfo.h"
#include "crashlog/capture/CLGMachExceptionServer.h"
#include "crashlog/capture/CLGProcessInfo.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/capture/CLGThreadList.h"
#include "platform/core/Value.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace core {
class DispatchQueue;
}

namespace zm {

struct CLGAllocator;
struct CLGCaptureConfiguration;

// The part of the capture context that start-up writes once; read-only afterwards when the arena's
// protection succeeds. Every string lies in the arena's protected region.
struct CLGCaptureStaticPart {
    const char* recordPath = nullptr;
    const char* crashMarkerPath = nullptr;
    const char* apiKey = nullptr;
    const char* generator = nullptr;
    const char* sessionIdentifier = nullptr;
    // Seconds since 1970 when start-up began.
    int64_t startedAt = 0;
    CLGHostInfo host;
    CLGProcessInfo process;
    CLGExecutableInfo executable;
    CLGMachExceptionHandler machHandler;
    // The crash signals' earlier handlers and the alternate stack that was in force before ours.
    CLGSavedSignalState savedSignals;
    // Our alternate signal stack (kCLGAlternateStackSize bytes of the writable region).
    void* alternateStack = nullptr;
    int32_t osMin = 0;
    int32_t osMax = 0;
    const char* config = nullptr;
    bool arc = false;
    const char* compiler = nullptr;
    bool debug = false;
    // Whether the "thread_state" line carries the crashed thread's registers.
    bool registerDump = true;
    bool conversionTracking = false;
    // Whether this start had to make the install identifier.
    bool installIdentifierCreated = false;
};

// The start-up's progress as a crash sees it: pending until the record's paths are in the static part
// (configured), or abandoned when the start-up stopped before that.
enum : uint32_t {
    kCLGConfigurationPending = 0,
    kCLGConfigurationConfigured = 1,
    kCLGConfigurationAbandoned = 2,
};

// The part that changes after start-up: on the context queue, or by swapping whole string pointers.
struct CLGCaptureMutablePart {
    // Changes made after start-up run on it ("com.crashlog.context-queue").
    std::shared_ptr<core::DispatchQueue> queue;
    // Bit 0: start-up has finished.
    std::atomic<uint8_t> ready = 0;
    // Raised once by the exception server after it has written a record.
    std::atomic<uint8_t> crashCounter = 0;
    CLGExceptionInfo exception;
    // The loaded images, in ascending address order.
    std::atomic<CLGBinaryImage*> images = nullptr;
    CLGLogInfo log;
    // The running processes, once a refresh listed them.
    std::atomic<CLGProcessList*> processes = nullptr;
    CLGDeviceState deviceState;
    // The store item id of conversion tracking; 0 until looked up.
    uint64_t conversionStoreItemId = 0;
    // Development platform name and version set through the facade (percent-escaped); null until set.
    std::atomic<char*> devPlatform = nullptr;
    std::atomic<char*> devPlatformVersion = nullptr;
    // Follows the images the dynamic linker loads; made at start-up, never freed.
    CLGBinaryImageTracker* imageTracker = nullptr;
    // Kept only while conversion tracking is on; run hourly.
    std::function<void()> settingsReloadAction;
    // Where the other threads freeze while a crash record is written: kCLGThreadLimit slots.
    CLGFreezeSlot* freezeSlots = nullptr;
    // The images loaded at the moment of a crash, filled at crash time.
    CLGCrashImages* crashImages = nullptr;
    // How far the start-up has come, for a crash that happens before it is done (a futex word).
    std::atomic<uint32_t> configuration = kCLGConfigurationPending;
    // The thread writing this process's crash record (0 before any crash), and whether it is done (a
    // futex word): a second thread that faults meanwhile waits for it.
    std::atomic<int32_t> recordingThread = 0;
    std::atomic<uint32_t> recordComplete = 0;
};

// The one block of state crash-time code reads: the pair of parts, both in the guarded arena. A
// process has one; it is never freed.
struct CLGCaptureContext {
    CLGCaptureStaticPart* staticPart = nullptr;
    CLGCaptureMutablePart* mutablePart = nullptr;
    CLGAllocator* allocator = nullptr;
};

// The context of the process (its parts are null until the capture start-up made them).
CLGCaptureContext& CLGCaptureContextShared();

// 1 once the capture start-up has finished, else 0 (also before the context exists).
int CLGCaptureContextIsReady();

// Makes crash capture catch crashes from now on: the arena with the context's parts, the freeze
// handler, and the signal handlers with our alternate stack on the calling thread. Quick (a mapping
// and a few system calls: no file is read, nothing waits), so that the start call can do it before it
// returns; a crash before CLGCaptureContextInitialize has copied the record's paths in waits a
// moment for it (CLGCaptureContextAwaitConfiguration). Once per process; later calls do nothing.
void CLGCaptureContextInstall();

// Fills the context of the process from `configuration` and marks it ready: installs capture when
// CLGCaptureContextInstall has not, copies the configuration in, then starts the exception server,
// the gathered facts, the exception hook and the session log. Once per process; the gatherers run in
// parallel, and when they are late the context is marked ready without protecting its static part.
void CLGCaptureContextInitialize(const CLGCaptureConfiguration& configuration);

// The start-up stopped before it could configure capture: a crash no longer waits for it.
void CLGCaptureContextAbandon();

// Waits, at most `milliseconds`, until the start-up has configured capture or given up. Answers
// whether the record's paths are known. Crash time.
bool CLGCaptureContextAwaitConfiguration(int64_t milliseconds);

// Stores one custom key (a member of the record's "custom_attributes") on the context queue; nothing before
// the context is ready.
void CLGCaptureContextSetCustomValue(const char* value, const char* key);

// Services for the facade and the report controller.

// The service endpoint a developer configured: the Info.plist's "CrashlogAPIEndpoint", else the
// environment variable of that name, else nothing.
using CLGEnvironment = std::function<const char*(const char* name)>;
std::optional<std::string> CLGAPIEndpointOverride(const core::Dictionary& infoPlist, const CLGEnvironment& environment);

// Whether the Info.plist holds `key` with a true value.
bool CLGInfoPlistBool(const core::Dictionary& infoPlist, std::string_view key);

} // namespace zm
