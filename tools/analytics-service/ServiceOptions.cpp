#include "tools/analytics-service/ServiceOptions.h"

namespace zm {

const char* ServiceOptions::usage() {
    return "usage: analytics-service --account NAME:SECRET [--account ...] [--port N] [--database FILE]\n"
           "       analytics-service --database FILE --list\n";
}

core::Result<ServiceOptions> ServiceOptions::parse(const std::vector<std::string>& arguments) {
    ServiceOptions options;
    const auto account = [&](const std::string& value) -> std::optional<std::string> {
        const size_t colon = value.find(':');
        if (colon == 0 || colon == std::string::npos || colon + 1 == value.size())
            return "--account takes NAME:SECRET";
        options.secrets[value.substr(0, colon)] = value.substr(colon + 1);
        return std::nullopt;
    };
    if (auto parsed = options.ServiceCommandLine::parse("analytics-service", arguments, {{"--account", account}}); !parsed)
        return parsed.error();
    if (!options.list && options.secrets.empty())
        return core::Error{"analytics-service", 1, "name at least one --account NAME:SECRET", {}};
    return options;
}

} // namespace zm
