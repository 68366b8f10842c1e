#include "tools/crash-service/CrashServiceOptions.h"

#include <charconv>

namespace zm {

namespace {

core::Error optionError(std::string description) {
    return core::Error{"crash-service", 1, std::move(description), {}};
}

} // namespace

const char* CrashServiceOptions::usage() {
    return "usage: crash-service [--port N] [--database FILE] [--certificate PEM --key PEM]\n"
           "       crash-service --database FILE --list\n";
}

core::Result<CrashServiceOptions> CrashServiceOptions::parse(const std::vector<std::string>& arguments) {
    CrashServiceOptions options;
    bool namedDatabase = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--list") {
            options.list = true;
            continue;
        }
        if (option != "--port" && option != "--database" && option != "--certificate" && option != "--key")
            return optionError("unknown option " + option);
        if (i + 1 == arguments.size())
            return optionError(option + " needs a value");
        const std::string& value = arguments[++i];
        if (option == "--port") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), options.port);
            if (error != std::errc() || end != value.data() + value.size() || options.port < 0 || options.port > 65535)
                return optionError("--port takes a number from 0 to 65535");
        } else if (option == "--database") {
            options.database = value;
            namedDatabase = true;
        } else if (option == "--certificate") {
            options.certificate = value;
        } else {
            options.key = value;
        }
    }
    if (options.list && !namedDatabase)
        return optionError("--list needs --database FILE");
    if (options.certificate.empty() != options.key.empty())
        return optionError("--certificate and --key go together");
    return options;
}

} // namespace zm
