#pragma once

#include <functional>
#include <string>

namespace zm {

// The accounts of the outside services, which belong to the deployment and not to the code: the crash
// reporting service's API key (40 lower-case hexadecimal digits) and the analytics service's account
// name (12 lower-case letters) and API secret (8 letters and digits). Read from the environment:
// ZEMBRIX_CRASHLOG_API_KEY, ZEMBRIX_TELEMETRY_ACCOUNT and ZEMBRIX_TELEMETRY_SECRET. A service without its
// credentials is not started.
struct ServiceCredentials {
    std::string crashlogAPIKey;
    std::string telemetryAccount;
    std::string telemetrySecret;

    using Environment = std::function<const char*(const char* name)>;
    static ServiceCredentials fromEnvironment(const Environment& environment);

    bool hasCrashlog() const { return !crashlogAPIKey.empty(); }
    bool hasTelemetry() const { return !telemetryAccount.empty() && !telemetrySecret.empty(); }
};

} // namespace zm
