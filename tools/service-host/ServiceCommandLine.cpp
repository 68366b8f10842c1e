#include "tools/service-host/ServiceCommandLine.h"

#include <charconv>

namespace zm {

core::Status ServiceCommandLine::parse(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::map<std::string, OwnOption>& ownOptions) {
    const auto failure = [&](std::string description) {
        return core::Error{program, 1, std::move(description), {}};
    };
    bool namedDatabase = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--list") {
            list = true;
            continue;
        }
        const auto own = ownOptions.find(option);
        if (option != "--port" && option != "--database" && own == ownOptions.end())
            return failure("unknown option " + option);
        if (i + 1 == arguments.size())
            return failure(option + " needs a value");
        const std::string& value = arguments[++i];
        if (option == "--port") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
            if (error != std::errc() || end != value.data() + value.size() || port < 0 || port > 65535)
                return failure("--port takes a number from 0 to 65535");
        } else if (option == "--database") {
            database = value;
            namedDatabase = true;
        } else if (auto wrong = own->second(value)) {
            return failure(std::move(*wrong));
        }
    }
    if (list && !namedDatabase)
        return failure("--list needs --database FILE");
    return {};
}

} // namespace zm
