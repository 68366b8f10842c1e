#pragma once

#include <cstdint>

namespace zm {

// The names the crash record gives to signals, signal codes and Mach exception types. Signals and
// their codes are looked up by this platform's constants (SIGBUS, SEGV_MAPERR, ...), not by the
// numbers another kernel gives them. Every answer is a static text, safe at crash time.

// "SIGSEGV" and the other six crash signals; "UNKNOWN" for any other.
const char* CLGSignalName(int signal);
// The si_code's name for that signal ("SEGV_MAPERR", "ABORT", ...); "UNKNOWN" when it has none.
const char* CLGSignalCodeName(int signal, int code);

// "EXC_BAD_ACCESS" ... "EXC_GUARD" for the types 1 to 12; "EXC_UNKNOWN" otherwise.
const char* CLGMachExceptionName(int64_t exception);
// "KERN_INVALID_ADDRESS" or "KERN_PROTECTION_FAILURE" for a bad access with that first code;
// "UNKNOWN" otherwise (and without codes).
const char* CLGMachExceptionCodeName(int64_t exception, const int64_t* codes, uint32_t codeCount);

} // namespace zm
