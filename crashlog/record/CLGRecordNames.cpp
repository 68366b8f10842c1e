#include "crashlog/record/CLGRecordNames.h"

#include <csignal>
#include <iterator>

namespace zm {
namespace {

struct CodeName {
    int code;
    const char* name;
};

template <size_t N>
const char* lookUp(const CodeName (&table)[N], int code) {
    for (const CodeName& entry : table) {
        if (entry.code == code)
            return entry.name;
    }
    return "UNKNOWN";
}

constexpr CodeName kIllegalInstructionCodes[] = {
    {0, "ILL_NOOP"},       {ILL_ILLOPC, "ILL_ILLOPC"}, {ILL_ILLTRP, "ILL_ILLTRP"},
    {ILL_PRVOPC, "ILL_PRVOPC"}, {ILL_ILLOPN, "ILL_ILLOPN"}, {ILL_ILLADR, "ILL_ILLADR"},
    {ILL_PRVREG, "ILL_PRVREG"}, {ILL_COPROC, "ILL_COPROC"}, {ILL_BADSTK, "ILL_BADSTK"},
};
constexpr CodeName kBusCodes[] = {
    {0, "BUS_NOOP"}, {BUS_ADRALN, "BUS_ADRALN"}, {BUS_ADRERR, "BUS_ADRERR"}, {BUS_OBJERR, "BUS_OBJERR"},
};
constexpr CodeName kSegmentationCodes[] = {
    {0, "SEGV_NOOP"}, {SEGV_MAPERR, "SEGV_MAPERR"}, {SEGV_ACCERR, "SEGV_ACCERR"},
};
// abort() sends the signal to its own thread, which this kernel reports as SI_TKILL rather than the
// plain SI_USER of kill(); both are an abort.
constexpr CodeName kAbortCodes[] = {{SI_USER, "ABORT"}, {SI_TKILL, "ABORT"}};

} // namespace

const char* CLGSignalName(int signal) {
    switch (signal) {
    case SIGILL: return "SIGILL";
    case SIGTRAP: return "SIGTRAP";
    case SIGABRT: return "SIGABRT";
    case SIGFPE: return "SIGFPE";
    case SIGBUS: return "SIGBUS";
    case SIGSEGV: return "SIGSEGV";
    case SIGSYS: return "SIGSYS";
    default: return "UNKNOWN";
    }
}

const char* CLGSignalCodeName(int signal, int code) {
    switch (signal) {
    case SIGILL: return lookUp(kIllegalInstructionCodes, code);
    case SIGABRT: return lookUp(kAbortCodes, code);
    case SIGBUS: return lookUp(kBusCodes, code);
    case SIGSEGV: return lookUp(kSegmentationCodes, code);
    default: return "UNKNOWN";
    }
}

const char* CLGMachExceptionName(int64_t exception) {
    static constexpr const char* kNames[] = {
        "EXC_BAD_ACCESS", "EXC_BAD_INSTRUCTION", "EXC_ARITHMETIC", "EXC_EMULATION",
        "EXC_SOFTWARE",   "EXC_BREAKPOINT",      "EXC_SYSCALL",    "EXC_MACH_SYSCALL",
        "EXC_RPC_ALERT",  "EXC_CRASH",           "EXC_RESOURCE",   "EXC_GUARD",
    };
    if (exception < 1 || exception > static_cast<int64_t>(std::size(kNames)))
        return "EXC_UNKNOWN";
    return kNames[exception - 1];
}

const char* CLGMachExceptionCodeName(int64_t exception, const int64_t* codes, uint32_t codeCount) {
    constexpr int64_t kBadAccess = 1;
    if (exception != kBadAccess || !codes || codeCount == 0)
        return "UNKNOWN";
    switch (codes[0]) {
    case 1: return "KERN_INVALID_ADDRESS";
    case 2: return "KERN_PROTECTION_FAILURE";
    default: return "UNKNOWN";
    }
}

} // namespace zm
