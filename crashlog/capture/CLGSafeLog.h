#pragma once

namespace zm {

// Writes `message` to standard error with one write call, exactly as given: nothing is formatted, so
// the text of a placeholder ("%d") stays in the output. A null message writes "(NULL)". Safe inside a
// signal handler and while the rest of the process is frozen.
void CLGSafeLog(const char* message);

} // namespace zm
