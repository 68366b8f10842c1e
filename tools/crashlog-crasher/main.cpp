// crashlog-crasher CASE DIRECTORY
// crashlog-crasher convert RECORD REPORT
//
// Starts crash capture with its files in DIRECTORY and crashes the way CASE names. The crash record is
// DIRECTORY/<session>.clgrecord. Before capture starts the program installs, as sanitizers and other
// crash handlers do, an alternate signal stack and a handler of its own for the crash signals, which
// says "earlier handler" on standard error and then lets the signal end the process: capture must hand
// every crash on to it.
//
// convert turns a crash record this program left into a session report file, its frames named after
// the program's functions (the program that converts is the one that crashed).

#include "crashlog/capture/CLGBinaryImage.h"
#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/report/CLGUUID.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/SystemFacts.h"
#include "tools/crashlog-crasher/CrashCases.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <unistd.h>

namespace {

void earlierHandler(int signal) {
    static const char kText[] = "earlier handler\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kText, sizeof kText - 1);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

void installEarlierHandlers() {
    static char stack[65536];
    const stack_t alternate{stack, 0, sizeof stack};
    sigaltstack(&alternate, nullptr);
    for (const int signal : zm::kCLGSignals)
        ::signal(signal, earlierHandler);
}

void startCapture(const std::filesystem::path& directory) {
    const uint8_t segment[] = {'c', 'r', 'a', 's', 'h', 'e', 'r'};
    const std::string session = zm::CLGUUID::generateWithSegmentData(segment)->stringValue();
    const std::string base = zm::CLGSessionBaseName(session);
    zm::CLGCaptureConfiguration configuration;
    configuration.apiKey = "crashlog-crasher";
    configuration.sessionIdentifier = session;
    configuration.recordPath = directory / (base + ".clgrecord");
    configuration.crashMarkerPath = directory / "crash_marker";
    configuration.runningLogPath = directory / "session.clglog";
    configuration.crashLogPath = directory / (base + ".clglog");
    configuration.identifierFlags = 15;
    configuration.hostFacts = [] { return zm::CLGHostFactsGather("crashlog-crasher", std::nullopt); };
    configuration.systemVersion = core::systemFacts().systemVersion;
    configuration.infoPlist = core::infoDictionary();
    zm::CLGCaptureContextInitialize(configuration);
    printf("record %s\n", configuration.recordPath.c_str());
    fflush(stdout);
}

// The images loaded now, by build-id; and this program's own build-id.
std::pair<zm::CLGUUIDMapping, std::string> loadedImages() {
    std::atomic<zm::CLGBinaryImage*> head = nullptr;
    const auto queue = core::DispatchQueue::serial("com.crashlog.context-queue");
    zm::CLGBinaryImageTracker tracker(head, queue);
    tracker.start();
    queue->sync([] {});
    const std::string program = zm::CLGImagePath(nullptr, true);
    std::string own;
    for (const zm::CLGBinaryImage* image = head.load(); image; image = image->next.load()) {
        if (image->path == program && image->uuid) {
            char uuid[zm::kCLGUUIDStringSize];
            zm::CLGUUIDString(image->uuid, uuid);
            own = uuid;
        }
    }
    return {zm::CLGUUIDMapOfImages(head.load()), own};
}

int convert(const char* record, const char* report) {
    zm::CLGCrashFile file(record);
    if (!file.isValid()) {
        fprintf(stderr, "%s is not a whole crash record\n", record);
        return 1;
    }
    const auto [map, own] = loadedImages();
    file.setProcessingExecutableUUID(own);
    file.symbolicateWithUUIDMap(map);
    if (!file.writeCLSFileToPath(report)) {
        fprintf(stderr, "cannot write %s\n", report);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "convert")
        return convert(argv[2], argv[3]);
    if (argc != 3) {
        fprintf(stderr, "usage: crashlog-crasher CASE DIRECTORY\n       crashlog-crasher convert RECORD REPORT\ncases: %s\n",
                zm::crasher::caseNames());
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[2], error);
    installEarlierHandlers();
    startCapture(argv[2]);
    if (!zm::crasher::crash(argv[1])) {
        fprintf(stderr, "unknown case '%s'\ncases: %s\n", argv[1], zm::crasher::caseNames());
        return 2;
    }
    return 0;
}
