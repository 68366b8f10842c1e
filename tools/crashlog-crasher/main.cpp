// crashlog-crasher CASE DIRECTORY
//
// Starts crash capture with its files in DIRECTORY and crashes the way CASE names. The crash record is
// DIRECTORY/<session>.clgrecord. Before capture starts the program installs, as sanitizers and other
// crash handlers do, an alternate signal stack and a handler of its own for the crash signals, which
// says "earlier handler" on standard error and then lets the signal end the process: capture must hand
// every crash on to it.

#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/report/CLGUUID.h"
#include "tools/crashlog-crasher/CrashCases.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
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
    zm::CLGCaptureContextInitialize(configuration);
    printf("record %s\n", configuration.recordPath.c_str());
    fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: crashlog-crasher CASE DIRECTORY\ncases: %s\n", zm::crasher::caseNames());
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
