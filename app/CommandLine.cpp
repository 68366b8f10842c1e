#include "app/CommandLine.h"

namespace zm {

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments) {
    LaunchOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--device" || argument == "--scale" || argument == "--screenshot";
        if (takesValue && i + 1 == arguments.size())
            return {std::nullopt, "option '" + argument + "' needs a value"};
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--device") {
            const std::string& value = arguments[++i];
            if (value == "phone")
                options.device = ui::Idiom::Phone;
            else if (value == "tablet")
                options.device = ui::Idiom::Tablet;
            else
                return {std::nullopt, "unknown device '" + value + "' (phone or tablet)"};
        } else if (argument == "--scale") {
            const std::string& value = arguments[++i];
            if (value == "1")
                options.scale = 1;
            else if (value == "2")
                options.scale = 2;
            else
                return {std::nullopt, "unknown scale '" + value + "' (1 or 2)"};
        } else if (argument == "--screenshot") {
            options.screenshot = arguments[++i];
        } else if (argument == "--crash") {
            options.crash = true;
        } else {
            return {std::nullopt, "unknown option '" + argument + "'"};
        }
    }
    if (options.headless && !options.screenshot && !options.crash && !options.showHelp)
        return {std::nullopt,
                "'--headless' needs '--screenshot FILE' or '--crash': without a window, that is all it does"};
    return {options, {}};
}

std::string usageText() {
    return "Usage: zembrix [options]\n"
           "\n"
           "Zembrix: algebra played by touch, one rule at a time.\n"
           "\n"
           "Options:\n"
           "  --device phone|tablet  the screen to play on: 480 x 320 or 1024 x 768 points (tablet)\n"
           "  --scale 1|2            pixels per point (1)\n"
           "  --screenshot FILE      write a PNG of the screen once the game has settled, then quit\n"
           "  --crash                crash on purpose once the game has settled, to try the crash reporter\n"
           "  --headless             run without a window (with --screenshot or --crash)\n"
           "  -h, --help             show this text and quit\n";
}

} // namespace zm
