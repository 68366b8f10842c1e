#include "analytics/TmUtils.h"

#include "analytics/TmDevice.h"
#include "analytics/testing/AnalyticsServiceProcess.h"
#include "platform/core/FileLocations.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(TmUtils, UrlEncodingEscapesEveryByteButLettersDigitsAndFourMarks) {
    const struct {
        const char* text;
        const char* encoded;
    } cases[] = {
        {"a b", "a%20b"},
        {"a/b&c", "a%2Fb%26c"},
        {"\xc3\xa9", "%C3%A9"},
        {"AZaz09-._~", "AZaz09-._~"},
        {"!*'();:@&=+$,/?%#[]{}", "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D%7B%7D"},
        {"{\"k\":1}", "%7B%22k%22%3A1%7D"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(TmUtils::createUrlencode(test.text), test.encoded) << test.text;
}

TEST(TmUtils, Base64RoundTripsThroughLineBreaks) {
    const struct {
        std::string bytes;
        const char* encoded;
    } cases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {std::string("\0\xff\x10", 3), "AP8Q"}};
    for (const auto& test : cases)
        EXPECT_EQ(TmUtils::base64Encode(test.bytes), test.encoded);

    std::string bytes;
    for (int i = 0; i < 200; ++i)
        bytes += static_cast<char>(i * 7);
    std::string lines = TmUtils::base64Encode(bytes);
    for (size_t at = 64; at < lines.size(); at += 65)
        lines.insert(at, "\n");
    const auto decoded = TmUtils::base64Decode(lines + "\n");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(core::asText(*decoded), bytes);
    EXPECT_EQ(TmUtils::base64Decode("Zg="), std::nullopt) << "fewer than four characters";
    EXPECT_EQ(TmUtils::base64Decode("Z!=="), std::nullopt);
}

TEST(TmUtils, TheBundleNamesTheApplicationWithFallbacks) {
    const struct {
        core::Dictionary info;
        const char* name;
        const char* version;
    } cases[] = {
        {{{"CFBundleName", "Zembrix"}, {"CFBundleDisplayName", "Z"}, {"CFBundleIdentifier", "com.zembrix.algebra"}},
         "Zembrix", "Unknown"},
        {{{"CFBundleDisplayName", "Z"}, {"CFBundleVersion", "7"}}, "Z", "7"},
        {{{"CFBundleIdentifier", "com.example.Game"}, {"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "7"}},
         "Game", "1.2"},
        {{{"CFBundleIdentifier", "plain"}}, "plain", "Unknown"},
        {{}, "Unknown", "Unknown"},
    };
    for (const auto& test : cases) {
        core::ScopedInfoDictionary info(test.info);
        EXPECT_EQ(TmUtils::applicationName(), test.name);
        EXPECT_EQ(TmUtils::applicationVersion(), test.version);
    }
}

TEST(TmUtils, SchemesComeFromEveryUrlTypeInOrder) {
    {
        core::ScopedInfoDictionary info({{"CFBundleURLTypes",
                                          core::Array{core::Dictionary{{"CFBundleURLSchemes", core::Array{"x", "y"}}},
                                                      core::Dictionary{{"CFBundleURLSchemes", core::Array{"z"}}}}}});
        EXPECT_EQ(TmUtils::urlScheme(), "z");
        EXPECT_EQ(TmUtils::schemes(), (std::vector<std::string>{"x", "y", "z"}));
    }
    core::ScopedInfoDictionary none({{"CFBundleURLTypes", core::Array{}}});
    EXPECT_EQ(TmUtils::urlScheme(), std::nullopt);
    EXPECT_TRUE(TmUtils::schemes().empty());
}

TEST(TmUtils, DeviceIdentifiersOnlyWhenTheyIdentify) {
    {
        ScopedTmDevice device({});
        EXPECT_FALSE(TmUtils::hasMAC());
        EXPECT_FALSE(TmUtils::hasAdSupportFramework());
        EXPECT_FALSE(TmUtils::hasIDFA());
        EXPECT_FALSE(TmUtils::hasIDFV());
        EXPECT_FALSE(TmUtils::doNotTrack()) << "without the framework tracking is not limited";
    }
    {
        TmDevice hidden;
        hidden.mac = net::MacAddress{0x02, 0, 0, 0, 0, 0};
        hidden.hasAdSupportFramework = true;
        hidden.advertisingIdentifier = "00000000-0000-0000-0000-000000000000";
        hidden.vendorIdentifier = "";
        ScopedTmDevice device(hidden);
        EXPECT_FALSE(TmUtils::hasMAC());
        EXPECT_FALSE(TmUtils::hasIDFA());
        EXPECT_FALSE(TmUtils::hasIDFV());
        EXPECT_TRUE(TmUtils::doNotTrack());
    }
    TmDevice real;
    real.mac = net::MacAddress{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    real.hasAdSupportFramework = true;
    real.advertisingTrackingEnabled = true;
    real.advertisingIdentifier = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    real.vendorIdentifier = "1D2C3B4A-0000-4000-8000-000000000001";
    ScopedTmDevice device(real);
    EXPECT_TRUE(TmUtils::hasMAC());
    EXPECT_EQ(TmUtils::MAC5(), "64ef59ed159b1cfd56057da3b82a7677");
    EXPECT_EQ(TmUtils::MAC1(), "7eea0b498f9cc0f7fc6b3eff0aab3fa973a5e491");
    EXPECT_EQ(TmUtils::ODIN(), "b4d86968aa36fcfd36ded2445caf5c93e9c2ea74");
    EXPECT_EQ(TmUtils::IDFA(), real.advertisingIdentifier);
    EXPECT_EQ(TmUtils::IDFV(), real.vendorIdentifier);
    EXPECT_FALSE(TmUtils::doNotTrack());
}

TEST(TmUtils, PasteboardsKeepTheirTextUnderTheDataRoot) {
    core::TemporaryFolder root;
    const core::FileLocations previous = core::FileLocations::shared();
    core::FileLocations::setShared(core::FileLocations::underRoot(root.path(), previous.resources));
    EXPECT_EQ(TmUtils::stringFromPasteboard("fb_app_attribution"), std::nullopt);
    TmUtils::setPasteboard("fb_app_attribution", "attribution");
    EXPECT_EQ(TmUtils::stringFromPasteboard("fb_app_attribution"), "attribution");
    core::FileLocations::setShared(previous);
}

// The requests of this file's tests.
TmQuery resolveQuery() {
    TmQuery query("zembrixgames");
    query.add("k", "TMID").add("u", "7A1E5D0C-1111-4222-8333-944455556666").add("p", "iOS").add("rt", "plist");
    return query;
}

TEST(TmService, RequestsAreSignedWithTheSecretAndTheWholeQuery) {
    const TmQuery query = resolveQuery();
    EXPECT_EQ(query.text(), "?a=zembrixgames&k=TMID&u=7A1E5D0C-1111-4222-8333-944455556666&p=iOS&rt=plist");
    EXPECT_EQ(TmService::signature("Ab3dE6gH", query), "d3f3518965d28d1f1224fd21a334c1a106bf23a8");
    EXPECT_EQ(TmService::url("127.0.0.1:8080", "/resolve", query, "Ab3dE6gH"),
              "http://127.0.0.1:8080/api/v1/resolve" + query.text() + "&h=d3f3518965d28d1f1224fd21a334c1a106bf23a8");
    EXPECT_EQ(TmQuery("a b").addEncoded("n", "x/y").addPart("&dnt=-1").text(), "?a=a%20b&n=x%2Fy&dnt=-1");
}

TEST(TmService, OnlyAHostAndPortNameTheService) {
    for (const char* host : {"127.0.0.1:8080", "analytics.example:80", "[::1]:9"}) {
        TmService::setHost(host);
        EXPECT_EQ(TmService::host(), host);
    }
    for (const char* host : {"", "127.0.0.1/x?y", "user@host", "host:80 other"}) {
        TmService::setHost(host);
        EXPECT_EQ(TmService::host(), std::nullopt) << host;
    }
    TmService::setHost(std::nullopt);
}

class TmServiceRequests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.running());
        TmService::setHost(service.host());
    }
    void TearDown() override { TmService::setHost(std::nullopt); }

    testing::AnalyticsServiceProcess service{"zembrixgames", "Ab3dE6gH"};
};

TEST_F(TmServiceRequests, ASignedRequestIsAnsweredOkAndAWrongSignatureIsRefused) {
    const auto answer = TmService::get("/resolve", resolveQuery(), "Ab3dE6gH");
    ASSERT_TRUE(answer);
    EXPECT_TRUE(TmService::isOK(*answer));
    EXPECT_EQ(answer->find("k")->stringValue(), "TMID");
    EXPECT_EQ(answer->find("u")->stringValue(), "7A1E5D0C-1111-4222-8333-944455556666");

    const auto refused = TmService::get("/resolve", resolveQuery(), "wrong");
    ASSERT_TRUE(refused);
    EXPECT_FALSE(TmService::isOK(*refused));
    EXPECT_EQ(service.listed("devices").size(), 1u) << "a refused request files nothing";
}

TEST_F(TmServiceRequests, NoServiceIsNoAnswer) {
    service.script("resolve", {{"no_answer", true}});
    EXPECT_EQ(TmService::get("/resolve", resolveQuery(), "Ab3dE6gH"), std::nullopt) << "an unreadable answer";
    service.stop();
    EXPECT_EQ(TmService::get("/resolve", resolveQuery(), "Ab3dE6gH"), std::nullopt) << "a closed port";
    TmService::setHost(std::nullopt);
    EXPECT_EQ(TmService::get("/resolve", resolveQuery(), "Ab3dE6gH"), std::nullopt) << "no host";
    EXPECT_FALSE(TmUtils::connected());
}

} // namespace
} // namespace zm
