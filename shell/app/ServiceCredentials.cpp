#include "shell/app/ServiceCredentials.h"

namespace zm {

ServiceCredentials ServiceCredentials::fromEnvironment(const Environment& environment) {
    auto read = [&](const char* name) {
        const char* value = environment(name);
        return std::string(value ? value : "");
    };
    return {read("ZEMBRIX_CRASHLOG_API_KEY"), read("ZEMBRIX_TELEMETRY_ACCOUNT"),
            read("ZEMBRIX_TELEMETRY_SECRET")};
}

} // namespace zm
