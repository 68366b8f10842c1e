#pragma once

#include "platform/ui/Device.h"

#include <optional>
#include <string>
#include <vector>

namespace zm {

// What the user asked of `zembrix` on its command line.
struct LaunchOptions {
    bool showHelp = false;
    ui::Idiom device = ui::Idiom::Tablet;
    float scale = 1;
    // Run without a window: the picture goes only to the screenshot.
    bool headless = false;
    // Where to write a PNG of the screen once the game has settled, then quit.
    std::optional<std::string> screenshot;
    // Crash on purpose once the game has settled (after the screenshot, when one is asked for), to try
    // the crash reporter out.
    bool crash = false;
};

struct CommandLineResult {
    std::optional<LaunchOptions> options; // empty when the arguments were refused
    std::string error;                    // why they were refused
};

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace zm
