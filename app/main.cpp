#include "app/CommandLine.h"
#include "app/Launch.h"

#include <iostream>

int main(int argc, char** argv) {
    const zm::CommandLineResult parsed = zm::parseCommandLine({argv + 1, argv + argc});
    if (!parsed.options) {
        std::cerr << "zembrix: " << parsed.error << "\n\n" << zm::usageText();
        return 2;
    }
    if (parsed.options->showHelp) {
        std::cout << zm::usageText();
        return 0;
    }
    return zm::launch(*parsed.options);
}
