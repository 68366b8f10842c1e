#include "analytics/TmID.h"

#include "analytics/TMDB.h"
#include "analytics/TMRecords.h"
#include "analytics/testing/AnalyticsFixture.h"
#include "platform/core/Json.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::kAccount;
using testing::kSecret;

class TmIDTest : public testing::AnalyticsFixture {
protected:
    std::vector<TmDeviceKey> storedKeys() { return TMDB(kAccount, kSecret).deviceKeys(); }

    // The value of `key` in a query text.
    static std::string part(const std::string& query, const std::string& key) {
        const size_t at = query.find("&" + key + "=");
        if (at == std::string::npos)
            return "(none)";
        const size_t start = at + key.size() + 2;
        return query.substr(start, query.find('&', start) - start);
    }
};

TEST_F(TmIDTest, AFreshInstallResolvesANewKeyAndStoresTheCanonicalOneAlone) {
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(TmID::keySpace(), "TMID");
    ASSERT_TRUE(TmID::uniqueId());
    EXPECT_EQ(TmID::uniqueId()->size(), 36u);
    const auto stored = storedKeys();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0].canonical());
    EXPECT_EQ(stored[0].uniqueId(), TmID::uniqueId());
    EXPECT_EQ(service.listed("devices").size(), 1u);

    // Prepared once for the same account; the next launch resolves the stored key again.
    EXPECT_TRUE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(queries("resolve").size(), 1u);
    const std::string id = *TmID::uniqueId();
    TmID::reset();
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(TmID::uniqueId(), id);
    EXPECT_EQ(service.listed("devices").size(), 1u);
}

TEST_F(TmIDTest, DesiredKeysOnlyForIdentifiersTheDeviceHas) {
    service.script("resolve", {{"desired", core::Array{"MAC5", "MAC1", "ODIN", "IDFA", "IDFV", "UDID"}}});
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    EXPECT_TRUE(TmID::deviceKeys()->empty()) << "no MAC, no identifiers";

    TmID::reset();
    TmDevice withMAC;
    withMAC.mac = net::MacAddress{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    ScopedTmDevice device(withMAC);
    service.script("resolve", {{"desired", core::Array{"MAC5", "IDFV"}}});
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    const auto keys = *TmID::deviceKeys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], TmDeviceKey("MAC5", TmUtils::MAC5()));
    EXPECT_EQ(queries("resolve").size(), 3u) << "with nothing known, each desired key is resolved";
}

TEST_F(TmIDTest, StoredKeysOfOldKindsAreNotReportedAgain) {
    for (const char* space : {"UDID", "MAC1"}) {
        TmID::reset();
        TMDB(kAccount, kSecret).setDeviceKeys({TmDeviceKey("TMID", "C-1", "", true), TmDeviceKey(space, "old")});
        ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
        EXPECT_TRUE(TmID::deviceKeys()->empty()) << space;
        EXPECT_EQ(storedKeys().size(), 1u);
        TMSession session(kAccount, kSecret);
        ASSERT_TRUE(TmID::startSession(session, kAccount, kSecret));
        EXPECT_EQ(part(queries("start").back(), "dk"), "%5B%5D") << space;
    }
    // Keys of other kinds are kept and reported.
    TmID::reset();
    TMDB(kAccount, kSecret).setDeviceKeys({TmDeviceKey("TMID", "C-1", "", true), TmDeviceKey("IDFV", "kept")});
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    TMSession session(kAccount, kSecret);
    ASSERT_TRUE(TmID::startSession(session, kAccount, kSecret));
    EXPECT_EQ(part(queries("start").back(), "dk"), TmUtils::createUrlencode(R"([{"k":"IDFV","v":"kept"}])"));
}

TEST_F(TmIDTest, TheStartRequestCarriesItsKeysInOrder) {
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    TMSession session(kAccount, kSecret);
    session.setSessionId("S-1");
    ASSERT_TRUE(TmID::startSession(session, kAccount, kSecret));
    const std::string query = queries("start").at(0);
    const auto keys = queryKeys(query);
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "av", "c", "i", "lag", "n", "p", "rt", "s", "sdk", "u", "v", "d",
                                              "k", "scs", "dk", "cr", "dnt"}));
    EXPECT_EQ(part(query, "s"), "S-1");
    EXPECT_EQ(part(query, "sdk"), "Telemetry%2F6.0.2");
    EXPECT_EQ(part(query, "n"), "Zembrix");
    EXPECT_EQ(part(query, "dnt"), "-1") << "no advertising framework";
    EXPECT_EQ(part(query, "cr"), "0") << "the service signed the key when it resolved it";
}

TEST_F(TmIDTest, ASignedKeyKeepsItsSignatureAndAnUnsignedOneTakesTheAnswers) {
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    const std::string signature = TmID::currentKey()->signature();
    ASSERT_FALSE(signature.empty());
    service.script("start", {{"csign", "other"}});
    TMSession session(kAccount, kSecret);
    ASSERT_TRUE(TmID::startSession(session, kAccount, kSecret));
    EXPECT_EQ(TmID::currentKey()->signature(), signature);

    TmID::reset();
    service.script("resolve", {{"csign", false}}); // no signature text
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(TmID::currentKey()->signature(), "");
    service.script("start", {{"csign", "adopted"}});
    ASSERT_TRUE(TmID::startSession(session, kAccount, kSecret));
    EXPECT_EQ(part(queries("start").back(), "cr"), "1");
    EXPECT_EQ(TmID::currentKey()->signature(), "adopted");
}

TEST_F(TmIDTest, ARefusedStartNamingAnotherKeyIsReconciledAndAskedOnceMore) {
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    const std::string id = *TmID::uniqueId();
    TMSession session(kAccount, kSecret);

    service.script("start", {{"status", "later"}, {"same_key", true}});
    auto answer = TmID::startSession(session, kAccount, kSecret);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->find("status")->stringValue(), "later");
    EXPECT_EQ(queries("start").size(), 1u) << "the current key named again: no second request";

    service.script("start", {{"status", "moved"}, {"fresh_key", true}});
    answer = TmID::startSession(session, kAccount, kSecret);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(TmService::isOK(*answer));
    EXPECT_EQ(queries("start").size(), 3u);
    EXPECT_NE(TmID::uniqueId(), id) << "the named key became current";
}

TEST_F(TmIDTest, AServiceNamingANewKeyInEveryAnswerIsGivenUpOn) {
    TmDevice vendor;
    vendor.vendorIdentifier = "1D2C3B4A-0000-4000-8000-000000000001";
    ScopedTmDevice device(vendor);
    service.script("resolve", {{"fresh_key", true}, {"desired", core::Array{"IDFV"}}}, 0);
    EXPECT_FALSE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(queries("resolve").size(), 1u + TmID::kMostRounds);
    EXPECT_TRUE(storedKeys().empty()) << "nothing changed";
}

TEST_F(TmIDTest, AnUnreachableServiceLeavesTheIdentityUnpreparedUntilItAnswers) {
    const std::string host = service.host();
    service.stop();
    EXPECT_FALSE(TmID::initKey(kAccount, kSecret));
    EXPECT_EQ(TmID::uniqueId(), std::nullopt);
    testing::AnalyticsServiceProcess again(kAccount, kSecret);
    TmService::setHost(again.host());
    EXPECT_TRUE(TmID::initKey(kAccount, kSecret));
}

} // namespace
} // namespace zm
