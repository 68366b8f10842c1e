#include "tools/analytics-service/ServiceOptions.h"

#include <charconv>

namespace zm {

namespace {

core::Error optionError(std::string description) {
    return core::Error{"analytics-service", 1, std::move(description), {}};
}

} // namespace

const char* ServiceOptions::usage() {
    return "usage: analytics-service --account NAME:SECRET [--account ...] [--port N] [--database FILE]\n"
           "       analytics-service --database FILE --list\n";
}

core::Result<ServiceOptions> ServiceOptions::parse(const std::vector<std::string>& arguments) {
    ServiceOptions options;
    bool namedDatabase = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--list") {
            options.list = true;
            continue;
        }
        if (option != "--port" && option != "--database" && option != "--account")
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
        } else {
            const size_t colon = value.find(':');
            if (colon == 0 || colon == std::string::npos || colon + 1 == value.size())
                return optionError("--account takes NAME:SECRET");
            options.secrets[value.substr(0, colon)] = value.substr(colon + 1);
        }
    }
    if (options.list && !namedDatabase)
        return optionError("--list needs --database FILE");
    if (!options.list && options.secrets.empty())
        return optionError("name at least one --account NAME:SECRET");
    return options;
}

} // namespace zm
