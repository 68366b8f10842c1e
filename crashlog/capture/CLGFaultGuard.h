#pragma once

namespace zm {

// Lets crash-time code read memory it cannot check beforehand (a stack walk that follows what the
// binaries' unwind tables say) without dying of a fault while a crash record is being written.
//
// CLGFaultGuardRun runs `work(argument)`; when `work` causes a crash signal on this thread, the crash
// signal handler calls CLGFaultGuardRecover first, which jumps back into CLGFaultGuardRun, and that
// answers false. Safe in a signal handler; nothing is allocated. At most kCLGFaultGuardLimit threads
// are guarded at once; past that `work` runs unguarded.
inline constexpr int kCLGFaultGuardLimit = 512;

bool CLGFaultGuardRun(void (*work)(void*), void* argument);

// Does not return when the calling thread is inside CLGFaultGuardRun; otherwise does nothing.
void CLGFaultGuardRecover();

} // namespace zm
