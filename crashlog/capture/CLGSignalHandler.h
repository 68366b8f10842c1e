#pragma once

#include <cstdint>
#include <signal.h>
#include <string_view>

namespace zm {

// The seven crash signals, in the order that installing, saving, restoring and resetting walk them.
inline constexpr int kCLGSignalCount = 7;
extern const int kCLGSignals[kCLGSignalCount];

// The previous handlers of the crash signals and the alternate stack that was in force before ours:
// what the handler puts back before it passes a crash on.
struct CLGSavedSignalState {
    // An entry whose handler is null had none installed.
    struct sigaction actions[kCLGSignalCount] = {};
    stack_t stack{nullptr, SS_DISABLE, 0};
};

// The size of our alternate signal stack.
inline constexpr size_t kCLGAlternateStackSize = 131072;

// Installs `alternateStack` (kCLGAlternateStackSize bytes) as the calling thread's alternate stack
// and CLGSignalHandler for the seven signals, saving what was there before into `saved`.
void CLGSignalHandlersInstall(CLGSavedSignalState& saved, void* alternateStack);

// The handler itself: records the crash unless the exception server already has, puts the earlier
// handlers back and raises the signal again, so that the process ends as it would have without us.
void CLGSignalHandler(int signal, siginfo_t* information, void* userContext);

// Resets the seven signals to their default action, then puts back the saved alternate stack and every
// saved handler. Answers whether all of that succeeded; a failure is logged and the rest still done.
bool CLGSignalHandlersRestore(const CLGSavedSignalState& saved);

// Resets the signals of the table to their default action (the first one only when `firstToo`).
void CLGSignalHandlersSetDefault(bool firstToo);

// The exception-mask bits of the hardware exception behind `signal`; 0 for signals without one.
uint32_t CLGSignalExceptionMask(int signal);

// 40000, 50000, 60000 or 70000 by the first character of a system version ("7.0.4" gives 70000);
// 0 for any other.
int32_t CLGOSVersionCode(std::string_view systemVersion);

// 1 when a debugger (or any tracer) is attached to this process, else 0. Safe at crash time.
int CLGDebuggerAttached();

} // namespace zm
