#include "tools/playground-harness/HarnessOptions.h"

#include <array>
#include <string_view>

namespace zm {

namespace {

core::Error usageError(std::string message) {
    return {"Harness", 4, std::move(message), {}};
}

} // namespace

const char* HarnessOptions::usage() {
    return "usage: playground-harness [--device phone|tablet] [--scale 1|2] "
           "[--headless --out DIR [--script FILE]] EXPRESSION\n"
           "       playground-harness [...] --long-division 'D)N[ PATTERN]' [--remainders] [--demo]";
}

core::Result<HarnessOptions> HarnessOptions::parse(std::span<const std::string> arguments) {
    static constexpr std::array<std::string_view, 3> kOwn{"--long-division", "--remainders", "--demo"};
    HarnessOptions options;
    const core::Result<std::vector<std::string>> rest = options.HarnessRunOptions::parse(arguments, kOwn);
    if (!rest)
        return rest.error();
    std::vector<std::string> words;
    for (size_t i = 0; i < rest->size(); ++i) {
        const std::string& word = (*rest)[i];
        if (word == "--long-division") {
            if (i + 1 >= rest->size())
                return usageError("--long-division takes a division, as 'D)N[ PATTERN]'");
            options.longDivision = (*rest)[++i];
        } else if (word == "--remainders") {
            options.remainders = true;
        } else if (word == "--demo") {
            options.demo = true;
        } else {
            words.push_back(word);
        }
    }
    if (!options.longDivision && (options.remainders || options.demo))
        return usageError("--remainders and --demo go with --long-division");
    if (options.longDivision) {
        if (!words.empty())
            return usageError("a long division or an expression, not both");
        return options;
    }
    if (words.empty())
        return usageError("no expression");
    if (words.size() > 1)
        return usageError("one expression only (quote it when it has spaces)");
    options.expression = words.front();
    return options;
}

} // namespace zm
