#include "app/CommandLine.h"

namespace zm {

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments)
{
    LaunchOptions options;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
        } else {
            return {std::nullopt, "unknown option '" + argument + "'"};
        }
    }
    return {options, {}};
}

std::string usageText()
{
    return "Usage: zembrix [options]\n"
           "\n"
           "Zembrix: algebra played by touch, one rule at a time.\n"
           "\n"
           "Options:\n"
           "  -h, --help    show this text and quit\n";
}

} // namespace zm
