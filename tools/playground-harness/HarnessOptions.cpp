#include "tools/playground-harness/HarnessOptions.h"

namespace zm {

const char* HarnessOptions::usage() {
    return "usage: playground-harness [--device phone|tablet] [--scale 1|2] "
           "[--headless --out DIR [--script FILE]] EXPRESSION";
}

core::Result<HarnessOptions> HarnessOptions::parse(std::span<const std::string> arguments) {
    HarnessOptions options;
    const core::Result<std::vector<std::string>> rest = options.HarnessRunOptions::parse(arguments);
    if (!rest)
        return rest.error();
    if (rest->empty())
        return core::Error{"Harness", 4, "no expression", {}};
    if (rest->size() > 1)
        return core::Error{"Harness", 4, "one expression only (quote it when it has spaces)", {}};
    options.expression = rest->front();
    return options;
}

} // namespace zm
