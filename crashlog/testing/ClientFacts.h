#pragma once

#include "crashlog/service/CLGClientDelegate.h"

#include <atomic>

namespace zm::testing {

// The application's facts as a test sets them.
class Facts : public CLGClientDelegate {
public:
    std::string APIKeyForClient(const CLGClient&) override { return apiKey; }
    std::string bundleIdForClient(const CLGClient&) override { return bundleId; }
    std::optional<std::string> applicationNameForClient(const CLGClient&) override { return "Zembrix"; }
    std::optional<std::string> bundleVersionForClient(const CLGClient&) override { return "42"; }
    std::optional<std::string> shortBundleVersionForClient(const CLGClient&) override { return shortVersion; }
    std::optional<CLGExecutableSlices> executableSlicesForClient(const CLGClient&) override { return slices; }
    std::optional<std::string> minimumSDKVersionForClient(const CLGClient&) override { return "12.0"; }
    std::optional<std::string> builtSDKVersionForClient(const CLGClient&) override { return "13.0"; }
    core::Dictionary identificationDictionaryForClient(const CLGClient&) override { return identification; }
    core::Array eventArrayForClient(const CLGClient&) override { return events; }
    void removeInstallEventKeyForClient(const CLGClient&) override { ++installEventRemovals; }
    std::optional<CLGIcon> iconForClient(const CLGClient&) override { return icon; }

    std::string apiKey = "0123abcd";
    std::string bundleId = "com.zembrix.algebra";
    std::optional<std::string> shortVersion = "1.2";
    std::optional<CLGExecutableSlices> slices = CLGExecutableSlices{{"x86_64", "bbbb"}, {"arm64", "aaaa"}};
    core::Dictionary identification;
    core::Array events;
    std::optional<CLGIcon> icon;
    std::atomic<int> installEventRemovals = 0;
};

} // namespace zm::testing
