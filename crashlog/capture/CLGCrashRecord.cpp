#include "crashlog/capture/CLGCrashRecord.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGProcessStats.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/capture/CLGThreadList.h"
#include "crashlog/record/CLGRecordNames.h"
#include "crashlog/record/CLGRecordWriter.h"

#include <ctime>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {
namespace {

constexpr uint64_t kSchemaVersion = 1;
constexpr uint64_t kExpectedLines = 21;
// Long enough for the start-up's first steps (files read and directories made on a busy disk), as long
// as the start-up waits for its gatherers: a start-up stuck behind the crashed thread holds the dying
// process no longer than that.
constexpr int64_t kConfigurationWaitMilliseconds = 5000;

int64_t secondsSince1970() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

void optionalMember(CLGRecordWriter& writer, const char* name, const char* value) {
    if (value)
        writer.stringMember(name, value);
}

} // namespace

void CLGWriteSchema(CLGRecordWriter& writer) {
    writer.beginLine("schema");
    writer.beginObject();
    writer.numberMember("version", kSchemaVersion);
    writer.numberMember("expected_lines", kExpectedLines);
    writer.endObject();
    writer.endLine();
}

void CLGWriteMachException(CLGRecordWriter& writer, const CLGMachExceptionInformation* mach) {
    writer.beginLine("mach_exception");
    writer.beginObject();
    if (mach) {
        writer.numberMember("exception", static_cast<uint64_t>(int64_t{mach->exception}));
        if (mach->codeCount > 0)
            writer.numberMember("code", static_cast<uint64_t>(mach->codes[0]));
        if (mach->codeCount > 1)
            writer.numberMember("subcode", static_cast<uint64_t>(mach->codes[1]));
        writer.stringMember("name", CLGMachExceptionName(mach->exception));
        writer.stringMember("code_name", CLGMachExceptionCodeName(mach->exception, mach->codes, mach->codeCount));
        const CLGCaptureStaticPart* part = CLGCaptureContextShared().staticPart;
        writer.numberMember("original_ports", part ? part->machHandler.previous.count : 0);
    }
    writer.endObject();
    writer.endLine();
}

void CLGWriteSignal(CLGRecordWriter& writer, const siginfo_t* information, const CLGSavedSignalState& saved,
                    int errnoValue) {
    writer.beginLine("signal");
    writer.beginObject();
    if (information) {
        writer.numberMember("number", static_cast<uint64_t>(int64_t{information->si_signo}));
        writer.numberMember("code", static_cast<uint64_t>(int64_t{information->si_code}));
        // Only a fault knows an address; for a signal sent by kill, raise or abort (a code of 0 or
        // below) the field holds the sender's pid.
        if (information->si_code > 0)
            writer.numberMember("address", reinterpret_cast<uint64_t>(information->si_addr));
        writer.stringMember("name", CLGSignalName(information->si_signo));
        writer.stringMember("code_name", CLGSignalCodeName(information->si_signo, information->si_code));
    }
    bool preexisting = false;
    for (const auto& action : saved.actions)
        preexisting = preexisting || action.sa_handler != nullptr;
    writer.booleanMember("preexisting_handlers", preexisting);
    writer.numberMember("errno", static_cast<uint64_t>(int64_t{errnoValue}));
    writer.endObject();
    writer.endLine();
}

void CLGWriteIdentity(CLGRecordWriter& writer, const CLGCaptureStaticPart& part) {
    writer.beginLine("identity");
    writer.beginObject();
    writer.stringMember("generator", part.generator);
    writer.stringMember("api_key", part.apiKey);
    writer.stringMember("identifier", part.sessionIdentifier);
    writer.numberMember("started_at", static_cast<uint64_t>(part.startedAt));
    writer.numberMember("ended_at", static_cast<uint64_t>(secondsSince1970()));
    optionalMember(writer, "device_id", part.host.deviceIdentifier);
    optionalMember(writer, "vendor_id", part.host.vendorIdentifier);
    optionalMember(writer, "advertising_id", part.host.advertisingIdentifier);
    optionalMember(writer, "install_id", part.host.installIdentifier);
    optionalMember(writer, "en0_mac_address", part.host.macAddress);
    writer.endObject();
    writer.endLine();
}

void CLGWriteBuild(CLGRecordWriter& writer, const CLGCaptureStaticPart& part) {
    writer.beginLine("build");
    writer.beginObject();
    writer.stringMember("config", part.config);
    writer.stringMember("compiler", part.compiler);
    writer.booleanMember("debug", part.debug);
    writer.booleanMember("arc", part.arc);
    writer.numberMember("os_max", static_cast<uint64_t>(int64_t{part.osMax}));
    writer.numberMember("os_min", static_cast<uint64_t>(int64_t{part.osMin}));
    writer.endObject();
    writer.endLine();
}

int CLGCrashRecordWrite(const CLGMachExceptionInformation* mach, int errnoValue, const siginfo_t* information,
                        const ucontext_t* userContext) {
    const CLGCaptureContext& context = CLGCaptureContextShared();
    const CLGCaptureStaticPart* part = context.staticPart;
    CLGCaptureMutablePart* mutablePart = context.mutablePart;
    // A crash in the first moments after the start waits for the start-up to name the record.
    if (!part || !mutablePart)
        return 1;
    if (!CLGCaptureContextAwaitConfiguration(kConfigurationWaitMilliseconds)) {
        CLGSafeLog("Crash capture was not configured: no crash record\n");
        return 1;
    }

    if (part->crashMarkerPath) {
        const int marker = open(part->crashMarkerPath, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (marker >= 0)
            close(marker);
    }
    const int fd = part->recordPath ? open(part->recordPath, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    CLGRecordWriter writer(fd);
    CLGWriteSchema(writer);
    CLGWriteMachException(writer, mach);
    CLGWriteSignal(writer, information, part->savedSignals, errnoValue);

    // The images and the writer's own stack are read while the other threads still run: both go
    // through the dynamic linker's lock, which a frozen thread could hold.
    CLGCrashImagesSnapshot(*mutablePart->crashImages);
    // Built on this (signal or server) stack: no allocation at crash time.
    CLGThreadList threads;
    const int32_t crashed = mach ? static_cast<int32_t>(mach->thread) : static_cast<int32_t>(syscall(SYS_gettid));
    CLGThreadListCreate(threads, crashed, userContext, part->registerDump, mutablePart->freezeSlots,
                        mutablePart->crashImages);
    CLGThreadListUnwindCurrent(threads);
    CLGThreadListSuspend(threads);

    CLGWriteIdentity(writer, *part);
    CLGWriteBuild(writer, *part);
    CLGWriteProcessInfo(writer, part->process);
    CLGWriteExternalProcesses(writer, mutablePart->processes.load());
    CLGWriteHost(writer, part->host, mutablePart->deviceState);
    CLGWriteExecutable(writer, part->executable, mutablePart->devPlatform.load(),
                       mutablePart->devPlatformVersion.load());
    CLGWriteBinaryImages(writer, *mutablePart->crashImages);
    CLGWriteException(writer, mutablePart->exception);
    CLGWriteThreads(threads, writer);
    CLGWriteThreadState(threads, writer);
    CLGWriteProcessStats(writer);
    CLGWriteThreadNames(threads, writer);
    CLGWriteQueueNames(threads, writer);
    CLGWriteRuntime(threads, writer);
    CLGWriteStorage(writer, part->host);
    CLGWriteUserLogAndKeys(writer, mutablePart->log);

    if (fd >= 0)
        close(fd);
    CLGThreadListResume(threads);
    return 1;
}

} // namespace zm
