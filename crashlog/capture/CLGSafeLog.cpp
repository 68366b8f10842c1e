#include "crashlog/capture/CLGSafeLog.h"

#include <cstring>
#include <unistd.h>

namespace zm {

void CLGSafeLog(const char* message) {
    if (!message)
        message = "(NULL)";
    // Nothing useful can be done when standard error is gone.
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, strlen(message));
}

} // namespace zm
