#include "tools/playground-harness/HarnessOptions.h"

namespace zm {

namespace {

core::Error usageError(const std::string& message) {
    return {"Harness", 4, message, {}};
}

} // namespace

const char* HarnessOptions::usage() {
    return "usage: playground-harness [--device phone|tablet] [--scale 1|2] "
           "[--headless --out DIR [--script FILE]] EXPRESSION";
}

core::Result<HarnessOptions> HarnessOptions::parse(std::span<const std::string> arguments) {
    HarnessOptions options;
    options.device = ui::Device{ui::Idiom::Tablet, 1};
    std::optional<std::string> expression;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (argument == "--device") {
            const std::optional<std::string> device = value();
            if (device != "phone" && device != "tablet")
                return usageError("--device takes phone or tablet");
            options.device.idiom = *device == "phone" ? ui::Idiom::Phone : ui::Idiom::Tablet;
        } else if (argument == "--scale") {
            const std::optional<std::string> scale = value();
            if (scale != "1" && scale != "2")
                return usageError("--scale takes 1 or 2");
            options.device.scale = *scale == "1" ? 1.0f : 2.0f;
        } else if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--script" || argument == "--out") {
            std::optional<std::string> path = value();
            if (!path || path->empty())
                return usageError(argument + " takes a path");
            (argument == "--script" ? options.script : options.out) = std::move(path);
        } else if (argument.starts_with("--")) {
            return usageError("unknown option " + argument);
        } else if (expression) {
            return usageError("one expression only (quote it when it has spaces)");
        } else {
            expression = argument;
        }
    }
    if (!expression)
        return usageError("no expression");
    if (options.headless && !options.out)
        return usageError("--headless needs --out DIR for its pictures");
    if (!options.headless && (options.script || options.out))
        return usageError("--script and --out go with --headless");
    options.expression = std::move(*expression);
    return options;
}

} // namespace zm
