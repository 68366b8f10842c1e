#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zm {

// What the user asked of `zembrix` on its command line.
struct LaunchOptions {
    bool showHelp = false;
};

struct CommandLineResult {
    std::optional<LaunchOptions> options; // empty when the arguments were refused
    std::string error;                    // why they were refused
};

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace zm
