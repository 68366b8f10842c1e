// crashlog-crasher CASE DIRECTORY
// crashlog-crasher convert RECORD REPORT
// crashlog-crasher show RECORD
//
// Starts crash reporting the way the game does (Crashlog::startWithAPIKey), with DIRECTORY as its
// data root, and crashes the way CASE names; the crash record is then
// DIRECTORY/.../com.crashlog.data/<bundle>/<session>.clgrecord. Every case but "early" waits for the
// start-up to finish first (a crash during play); "early" crashes as soon as the start call returns.
// Before the start the program installs, as sanitizers and other crash handlers do, an alternate
// signal stack and a handler of its own for the crash signals, which says "earlier handler" on
// standard error and then lets the signal end the process: capture must hand every crash on to it.
//
// convert turns a crash record this program left into a session report file, and show prints it for a
// person (crashlog-crasher's RecordText.h): its frames are named after the program's functions as the
// conversion names them (the program that converts is the one that crashed).

#include "crashlog/Crashlog.h"
#include "crashlog/capture/CLGBinaryImage.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/report/CLGCrashFile.h"
#include "platform/core/DispatchQueue.h"
#include "tools/crashlog-crasher/CrashCases.h"
#include "tools/crashlog-crasher/RecordText.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
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

// The record at `path`, whole and symbolicated against this program; nothing when it is not whole.
std::optional<zm::CLGCrashFile> symbolicated(const char* path) {
    zm::CLGCrashFile file(path);
    if (!file.isValid()) {
        fprintf(stderr, "%s is not a whole crash record\n", path);
        return std::nullopt;
    }
    const auto [map, own] = loadedImages();
    file.setProcessingExecutableUUID(own);
    file.symbolicateWithUUIDMap(map);
    return file;
}

int convert(const char* record, const char* report) {
    const auto file = symbolicated(record);
    if (!file)
        return 1;
    if (!file->writeCLSFileToPath(report)) {
        fprintf(stderr, "cannot write %s\n", report);
        return 1;
    }
    return 0;
}

int show(const char* record) {
    const auto file = symbolicated(record);
    if (!file)
        return 1;
    fputs(zm::crasher::recordText(*file).c_str(), stdout);
    return 0;
}

int crash(std::string_view name, const char* directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    setenv("ZEMBRIX_HOME", directory, 1);
    installEarlierHandlers();
    zm::Crashlog& crashlog = zm::Crashlog::startWithAPIKey("crashlog-crasher");
    if (!zm::crasher::crashesAtOnce(name)) {
        crashlog.queue()->sync([] {});
        printf("crash directory %s\n", crashlog.crashDirectory().c_str());
        fflush(stdout);
    }
    if (!zm::crasher::crash(name)) {
        fprintf(stderr, "unknown case '%.*s'\ncases: %s\n", static_cast<int>(name.size()), name.data(),
                zm::crasher::caseNames());
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "convert")
        return convert(argv[2], argv[3]);
    if (argc == 3 && std::string_view(argv[1]) == "show")
        return show(argv[2]);
    if (argc == 3)
        return crash(argv[1], argv[2]);
    fprintf(stderr,
            "usage: crashlog-crasher CASE DIRECTORY\n       crashlog-crasher convert RECORD REPORT\n"
            "       crashlog-crasher show RECORD\ncases: %s\n",
            zm::crasher::caseNames());
    return 2;
}
