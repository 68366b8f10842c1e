#include "tools/playground-harness/HarnessOptions.h"

#include <array>
#include <charconv>
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
           "       playground-harness [...] --long-division 'D)N[ PATTERN]' [--remainders] [--demo] [--worked N]";
}

core::Result<HarnessOptions> HarnessOptions::parse(std::span<const std::string> arguments) {
    static constexpr std::array<std::string_view, 4> kOwn{"--long-division", "--remainders", "--demo", "--worked"};
    HarnessOptions options;
    const core::Result<std::vector<std::string>> rest = options.HarnessRunOptions::parse(arguments, kOwn);
    if (!rest)
        return rest.error();
    std::vector<std::string> words;
    bool worked = false;
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
        } else if (word == "--worked") {
            const std::string rows = i + 1 < rest->size() ? (*rest)[++i] : "";
            uint32_t count = 0;
            const auto [end, error] = std::from_chars(rows.data(), rows.data() + rows.size(), count);
            if (rows.empty() || error != std::errc() || end != rows.data() + rows.size() || count > 1000)
                return usageError("--worked takes a number of rows (0 to 1000)");
            options.worked = count;
            worked = true;
        } else {
            words.push_back(word);
        }
    }
    if (!options.longDivision && (options.remainders || options.demo || worked))
        return usageError("--remainders, --demo and --worked go with --long-division");
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
