#pragma once

#include "app/CommandLine.h"

namespace zm {

// Runs the game as the options say, in a window or headless, and answers the process's exit status.
int launch(const LaunchOptions& options);

} // namespace zm
