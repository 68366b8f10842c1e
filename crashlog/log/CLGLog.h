#pragma once

namespace zm {

// The crash reporter's diagnostics outside crash time. Lines beginning "[Crashlog] " are written only
// in debug mode, a process-wide switch that starts off; the conversion lines ("[CT] ") and the few
// lines said to be written whatever the switch go out always. Crash-time code uses CLGSafeLog.
bool CLGDebugMode();
void CLGSetDebugMode(bool on);

// printf-style; written only in debug mode.
void CLGDebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf-style; written always.
void CLGLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zm
