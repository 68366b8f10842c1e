#pragma once

#include "analytics/TmDevice.h"
#include "analytics/TmID.h"
#include "analytics/TmStore.h"
#include "analytics/TmUtils.h"
#include "analytics/testing/AnalyticsServiceProcess.h"
#include "platform/core/FileLocations.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace zm::testing {

inline constexpr const char* kAccount = "zembrixgames";
inline constexpr const char* kSecret = "Ab3dE6gH";

// A fresh installation for each test: its own data root, a bundle of known identity, a device without
// identifiers, no identity yet, and the analytics service program started for it.
class AnalyticsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        core::FileLocations::setShared(core::FileLocations::underRoot(root.path(), previousLocations.resources));
        TmID::reset();
        TmStore::reset();
        ASSERT_TRUE(service.running());
        TmService::setHost(service.host());
    }
    void TearDown() override {
        TmService::setHost(std::nullopt);
        TmID::reset();
        TmStore::reset();
        TmEventSink::setRecorder(nullptr);
        core::FileLocations::setShared(previousLocations);
    }

    // The keys of a query text, in order.
    static std::vector<std::string> queryKeys(const std::string& query) {
        std::vector<std::string> keys;
        for (size_t at = 0; at < query.size(); at = query.find('&', at + 1)) {
            const size_t start = at + 1;
            keys.push_back(query.substr(start, query.find('=', start) - start));
        }
        return keys;
    }

    // The queries the service received at one endpoint, in order.
    std::vector<std::string> queries(const std::string& endpoint) {
        std::vector<std::string> found;
        for (const core::Value& request : service.listed("requests")) {
            if (request.find("endpoint")->stringValue() == endpoint)
                found.push_back(request.find("query")->stringValue());
        }
        return found;
    }

    const core::FileLocations previousLocations = core::FileLocations::shared();
    core::TemporaryFolder root;
    core::ScopedInfoDictionary bundle{{{"CFBundleIdentifier", "com.zembrix.algebra"},
                                       {"CFBundleName", "Zembrix"},
                                       {"CFBundleShortVersionString", "0.1"}}};
    ScopedTmDevice device{TmDevice{}};
    AnalyticsServiceProcess service{kAccount, kSecret};
};

} // namespace zm::testing
