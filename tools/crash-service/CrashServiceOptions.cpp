#include "tools/crash-service/CrashServiceOptions.h"

namespace zm {

const char* CrashServiceOptions::usage() {
    return "usage: crash-service [--port N] [--database FILE] [--certificate PEM --key PEM]\n"
           "       crash-service --database FILE --list\n";
}

core::Result<CrashServiceOptions> CrashServiceOptions::parse(const std::vector<std::string>& arguments) {
    CrashServiceOptions options;
    const auto into = [](std::string& field) {
        return [&field](const std::string& value) -> std::optional<std::string> {
            field = value;
            return std::nullopt;
        };
    };
    if (auto parsed = options.ServiceCommandLine::parse(
            "crash-service", arguments, {{"--certificate", into(options.certificate)}, {"--key", into(options.key)}});
        !parsed)
        return parsed.error();
    if (options.certificate.empty() != options.key.empty())
        return core::Error{"crash-service", 1, "--certificate and --key go together", {}};
    return options;
}

} // namespace zm
