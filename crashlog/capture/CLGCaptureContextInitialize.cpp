#include "crashlog/capture/CLGAllocator.h"
#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGFutex.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGThreadUnwind.h"
#include "crashlog/log/CLGLog.h"
#include "platform/core/DispatchGroup.h"
#include "platform/core/DispatchQueue.h"

#include <ctime>
#include <new>
#include <unistd.h>

namespace zm {
namespace {

constexpr const char* kGenerator = "Crashlog iOS SDK/2.1.3";

uint64_t pageSize() {
    const long page = sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<uint64_t>(page) : 4096;
}

void copyConfiguration(CLGCaptureStaticPart& part, CLGCaptureMutablePart& mutablePart,
                       const CLGCaptureConfiguration& configuration, CLGAllocator* arena) {
    part.recordPath = CLGArenaCopyString(arena, configuration.recordPath);
    part.crashMarkerPath = CLGArenaCopyString(arena, configuration.crashMarkerPath);
    part.apiKey = CLGArenaCopyString(arena, configuration.apiKey);
    part.generator = kGenerator;
    part.sessionIdentifier = CLGArenaCopyString(arena, configuration.sessionIdentifier);
    part.startedAt = static_cast<int64_t>(time(nullptr));
    const CLGBuildEnvironment& build = configuration.buildEnvironment;
    part.osMin = build.osMin;
    part.osMax = build.osMax;
    part.config = CLGArenaCopyString(arena, build.config);
    part.arc = build.arc;
    part.compiler = CLGArenaCopyString(arena, build.compiler);
    part.debug = build.debug;
    part.registerDump = true;
    part.conversionTracking = CLGInfoPlistBool(configuration.infoPlist, "CrashlogConversionTracking");
    part.installIdentifierCreated = configuration.installIdentifierCreated;
    part.host.identifierFlags = static_cast<uint8_t>(configuration.identifierFlags);
    if (part.conversionTracking)
        mutablePart.settingsReloadAction = configuration.settingsReloadAction;
    mutablePart.log.runningLogPath = CLGArenaCopyString(arena, configuration.runningLogPath);
    mutablePart.log.crashLogPath = CLGArenaCopyString(arena, configuration.crashLogPath);
}

} // namespace

void CLGCaptureContextInstall() {
    CLGCaptureContext& context = CLGCaptureContextShared();
    if (context.mutablePart)
        return;
    const uint64_t slotsSize = sizeof(CLGFreezeSlot) * kCLGThreadLimit;
    const uint64_t writableSize = kCLGMachServerStackSize + kCLGAlternateStackSize +
                                  sizeof(CLGCaptureMutablePart) + slotsSize + sizeof(CLGCrashImages);
    const uint64_t protectedSize = 2 * pageSize() + sizeof(CLGCaptureStaticPart);
    CLGAllocator* arena = CLGAllocatorCreate(writableSize, protectedSize);
    context.allocator = arena;

    auto* part = new (CLGAllocatorAllocate(arena, sizeof(CLGCaptureStaticPart), CLGAllocatorRegionKind::Protected))
        CLGCaptureStaticPart;
    part->machHandler.stack = CLGAllocatorAllocate(arena, kCLGMachServerStackSize, CLGAllocatorRegionKind::Writable);
    part->alternateStack = CLGAllocatorAllocate(arena, kCLGAlternateStackSize, CLGAllocatorRegionKind::Writable);
    auto* mutablePart = new (CLGAllocatorAllocate(arena, sizeof(CLGCaptureMutablePart),
                                                  CLGAllocatorRegionKind::Writable)) CLGCaptureMutablePart;
    // Default-initialised: the slots and the image table are trivially constructible, so their
    // (zeroed) pages are not touched until a crash needs them.
    auto* slots = static_cast<CLGFreezeSlot*>(CLGAllocatorAllocate(arena, slotsSize, CLGAllocatorRegionKind::Writable));
    for (size_t i = 0; i < kCLGThreadLimit; ++i)
        new (&slots[i]) CLGFreezeSlot;
    mutablePart->freezeSlots = slots;
    mutablePart->crashImages =
        new (CLGAllocatorAllocate(arena, sizeof(CLGCrashImages), CLGAllocatorRegionKind::Writable)) CLGCrashImages;
    context.staticPart = part;
    context.mutablePart = mutablePart;

    CLGThreadFreezeInstall(mutablePart->freezeSlots, mutablePart->crashImages);
    CLGSignalHandlersInstall(part->savedSignals, part->alternateStack);
}

void CLGCaptureContextInitialize(const CLGCaptureConfiguration& configuration) {
    CLGCaptureContextInstall();
    CLGCaptureContext& context = CLGCaptureContextShared();
    CLGCaptureStaticPart* part = context.staticPart;
    CLGCaptureMutablePart* mutablePart = context.mutablePart;
    CLGAllocator* arena = context.allocator;
    copyConfiguration(*part, *mutablePart, configuration, arena);
    mutablePart->configuration.store(kCLGConfigurationConfigured);
    CLGFutexWake(mutablePart->configuration);

    // The gatherers may finish after start-up has given up waiting for them.
    const auto shared = std::make_shared<const CLGCaptureConfiguration>(configuration);
    core::DispatchGroup group;
    const auto global = core::DispatchQueue::global();

    mutablePart->queue = core::DispatchQueue::serial("com.crashlog.context-queue");
    mutablePart->imageTracker = new CLGBinaryImageTracker(mutablePart->images, mutablePart->queue);

    group.async(global, [part, shared] {
        ExceptionPorts& ports = shared->exceptionPorts ? *shared->exceptionPorts : ExceptionPorts::system();
        CLGMachExceptionHandlerInstall(part->machHandler, shared->machMaskToLeave,
                                       CLGOSVersionCode(shared->systemVersion), ports);
    });
    group.async(global, [part, shared, arena] {
        CLGHostInfoGather(part->host, shared->hostFacts ? shared->hostFacts() : CLGHostFacts{}, arena);
    });
    group.async(global, [part, arena] { CLGProcessInfoGather(part->process, CLGDebuggerAttached() == 1, arena); });
    group.async(global, [part, shared, arena] {
        CLGExecutableInfoGather(part->executable, shared->infoPlist, arena);
    });
    group.async(global, [mutablePart] {
        mutablePart->imageTracker->start();
        // The images loaded now are in the list once start-up is done.
        mutablePart->queue->sync([] {});
    });
    // The unwinder sets up state of its own at first use: not at crash time.
    group.async(global, [] { CLGThreadUnwindPrepare(); });
    group.async(global, [mutablePart] { CLGExceptionHookInstall(mutablePart->exception); });
    group.async(global, [mutablePart] { CLGLogSetUp(mutablePart->log); });

    if (!group.waitFor(configuration.gathererTimeout))
        CLGDebugLog("[Crashlog] [Context] Delayed initialization - disabling memory protection");
    else if (!CLGAllocatorProtect(arena))
        CLGDebugLog("[Crashlog] [Context] Memory protection failed");

    mutablePart->ready.fetch_add(1);
}

void CLGCaptureContextAbandon() {
    CLGCaptureMutablePart* mutablePart = CLGCaptureContextShared().mutablePart;
    if (!mutablePart)
        return;
    uint32_t pending = kCLGConfigurationPending;
    mutablePart->configuration.compare_exchange_strong(pending, kCLGConfigurationAbandoned);
    CLGFutexWake(mutablePart->configuration);
}

bool CLGCaptureContextAwaitConfiguration(int64_t milliseconds) {
    CLGCaptureMutablePart* mutablePart = CLGCaptureContextShared().mutablePart;
    if (!mutablePart)
        return false;
    const int64_t deadline = CLGMonotonicNanoseconds() + milliseconds * 1'000'000;
    return CLGFutexWaitWhile(mutablePart->configuration, kCLGConfigurationPending, deadline) ==
           kCLGConfigurationConfigured;
}

void CLGCaptureContextSetCustomValue(const char* value, const char* key) {
    if (!CLGCaptureContextIsReady())
        return;
    CLGCaptureMutablePart* part = CLGCaptureContextShared().mutablePart;
    part->queue->sync([&] { CLGCustomKeyStore(part->log, value, key); });
}

} // namespace zm
