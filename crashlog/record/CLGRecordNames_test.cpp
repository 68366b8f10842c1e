#include "crashlog/record/CLGRecordNames.h"

#include <gtest/gtest.h>

#include <csignal>

namespace zm {
namespace {

TEST(CLGRecordNames, NamesSignalsAndTheirCodesByThisPlatformsConstants) {
    struct Case {
        int signal;
        int code;
        const char* name;
        const char* codeName;
    };
    const Case cases[] = {
        {SIGSEGV, SEGV_MAPERR, "SIGSEGV", "SEGV_MAPERR"}, {SIGSEGV, SEGV_ACCERR, "SIGSEGV", "SEGV_ACCERR"},
        {SIGSEGV, 0, "SIGSEGV", "SEGV_NOOP"},             {SIGSEGV, 99, "SIGSEGV", "UNKNOWN"},
        {SIGBUS, BUS_ADRALN, "SIGBUS", "BUS_ADRALN"},     {SIGBUS, BUS_OBJERR, "SIGBUS", "BUS_OBJERR"},
        {SIGILL, ILL_ILLOPN, "SIGILL", "ILL_ILLOPN"},     {SIGILL, ILL_ILLTRP, "SIGILL", "ILL_ILLTRP"},
        {SIGILL, ILL_BADSTK, "SIGILL", "ILL_BADSTK"},     {SIGILL, 0, "SIGILL", "ILL_NOOP"},
        {SIGABRT, SI_USER, "SIGABRT", "ABORT"},           {SIGABRT, SI_TKILL, "SIGABRT", "ABORT"},
        {SIGABRT, SI_QUEUE, "SIGABRT", "UNKNOWN"},        {SIGFPE, FPE_INTDIV, "SIGFPE", "UNKNOWN"},
        {SIGTRAP, 0, "SIGTRAP", "UNKNOWN"},               {SIGSYS, 1, "SIGSYS", "UNKNOWN"},
        {SIGTERM, 0, "UNKNOWN", "UNKNOWN"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(CLGSignalName(c.signal), c.name) << c.signal;
        EXPECT_STREQ(CLGSignalCodeName(c.signal, c.code), c.codeName) << c.signal << " " << c.code;
    }
}

TEST(CLGRecordNames, NamesMachExceptionsAndBadAccessCodes) {
    EXPECT_STREQ(CLGMachExceptionName(1), "EXC_BAD_ACCESS");
    EXPECT_STREQ(CLGMachExceptionName(12), "EXC_GUARD");
    EXPECT_STREQ(CLGMachExceptionName(0), "EXC_UNKNOWN");
    EXPECT_STREQ(CLGMachExceptionName(13), "EXC_UNKNOWN");
    const int64_t invalidAddress[] = {1, 0x10};
    const int64_t protection[] = {2};
    EXPECT_STREQ(CLGMachExceptionCodeName(1, invalidAddress, 2), "KERN_INVALID_ADDRESS");
    EXPECT_STREQ(CLGMachExceptionCodeName(1, protection, 1), "KERN_PROTECTION_FAILURE");
    EXPECT_STREQ(CLGMachExceptionCodeName(1, protection, 0), "UNKNOWN");
    EXPECT_STREQ(CLGMachExceptionCodeName(3, invalidAddress, 2), "UNKNOWN");
}

} // namespace
} // namespace zm
