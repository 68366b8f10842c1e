#include "crashlog/service/CLGClient.h"

#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/service/CLGServiceKeys.h"
#include "crashlog/testing/ClientFacts.h"
#include "crashlog/testing/CrashServiceProcess.h"
#include "crashlog/testing/RecordFixture.h"
#include "platform/core/Digest.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/net/testing/TestCertificate.h"

#include <atomic>
#include <future>

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::Facts;

template <typename... Answer> class Awaited {
public:
    std::function<void(Answer...)> completion() {
        return [promise = m_promise](Answer... answer) { promise->set_value(std::make_tuple(std::move(answer)...)); };
    }
    // The answer (the test fails when none comes within ten seconds).
    std::tuple<Answer...> get() {
        auto future = m_promise->get_future();
        EXPECT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        return future.get();
    }

private:
    std::shared_ptr<std::promise<std::tuple<Answer...>>> m_promise = std::make_shared<std::promise<std::tuple<Answer...>>>();
};

using SettingsAnswer = Awaited<std::optional<core::Dictionary>, std::optional<core::Error>>;
using Outcome = Awaited<std::optional<core::Error>>;

std::string text(const core::Value* value) {
    return value ? value->stringValue() : "(none)";
}

class CLGClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.running());
        client->setDelegate(&facts);
    }

    std::pair<std::optional<core::Dictionary>, std::optional<core::Error>> loadSettings() {
        SettingsAnswer answer;
        client->loadSettingsFromURL(std::nullopt, answer.completion());
        auto [settings, error] = answer.get();
        return {settings, error};
    }
    std::optional<core::Error> configure(bool asNewApp, const std::optional<std::string>& url) {
        Outcome outcome;
        client->configureApplicationUsingURL(url, asNewApp, outcome.completion());
        return std::get<0>(outcome.get());
    }
    std::optional<core::Error> submit(const std::filesystem::path& path, const std::optional<std::string>& url, bool invalid) {
        Outcome outcome;
        client->submitCLSFileAtPath(path, url, invalid, outcome.completion());
        return std::get<0>(outcome.get());
    }
    std::string appURL() const { return service.url() + "/spi/v1/platforms/ios/apps/com.zembrix.algebra"; }

    testing::CrashServiceProcess service;
    Facts facts;
    std::shared_ptr<CLGClient> client = std::make_shared<CLGClient>(service.url());
};

long codeOf(const std::optional<core::Error>& error) {
    EXPECT_TRUE(error);
    EXPECT_EQ(error ? error->domain : "", kCLGClientErrorDomain);
    return error ? error->code : 0;
}

TEST_F(CLGClientTest, TheSettingsRequestNamesTheBuildAndInstanceAndTheServiceDecryptsItsHeaders) {
    const std::string instance = core::sha1Hex("aaaabbbb");
    const struct {
        const char* name;
        std::optional<std::string> shortVersion;
        std::optional<CLGExecutableSlices> slices;
        std::optional<CLGIcon> icon;
        core::Dictionary identification;
        core::Array events;
        std::string target;
        std::string decryptedIdentification;
        std::string decryptedEvents;
    } cases[] = {
        {"everything", "1.2", facts.slices, CLGIcon{{}, "f00d", {}, false}, {{"device", "d1"}},
         {core::Dictionary{{"type", "install"}, {"at", "7"}}, core::Dictionary{{"type", "launch"}}},
         "/spi/v1/platforms/ios/apps/com.zembrix.algebra/settings?build_version=42&display_version=1.2&instance=" + instance +
             "&icon_hash=f00d",
         R"({"device":"d1"})", R"([{"type":"install","at":"7"},{"type":"launch"}])"},
        {"no short version, no slices, no icon, nothing to identify", std::nullopt, std::nullopt, std::nullopt, {}, {},
         "/spi/v1/platforms/ios/apps/com.zembrix.algebra/settings?build_version=42&instance=%28unknown%29", "", ""},
    };
    for (const auto& c : cases) {
        facts.shortVersion = c.shortVersion;
        facts.slices = c.slices;
        facts.icon = c.icon;
        facts.identification = c.identification;
        facts.events = c.events;
        const auto [settings, error] = loadSettings();
        ASSERT_TRUE(settings) << c.name << ": " << (error ? error->text() : "");
        const core::Array requests = service.listed("requests");
        ASSERT_FALSE(requests.empty());
        const core::Value& seen = requests.back();
        EXPECT_EQ(text(seen.find("target")), c.target) << c.name;
        EXPECT_EQ(text(seen.find("api_key")), "0123abcd") << c.name;
        EXPECT_EQ(text(seen.find("identification")), c.decryptedIdentification) << c.name;
        EXPECT_EQ(text(seen.find("events")), c.decryptedEvents) << c.name;
    }
    EXPECT_EQ(facts.installEventRemovals, 2);
}

TEST_F(CLGClientTest, AnApplicationIsNewUntilConfiguredAndTheSettingsPointAtTheService) {
    const auto [first, firstError] = loadSettings();
    ASSERT_TRUE(first) << (firstError ? firstError->text() : "");
    const core::Value* app = first->find("app");
    EXPECT_EQ(text(app->find("status")), "new");
    EXPECT_EQ(text(app->find("url")), appURL());
    EXPECT_EQ(text(app->find("reports_url")), appURL() + "/reports");

    EXPECT_EQ(codeOf(configure(true, std::nullopt)), static_cast<long>(CLGClientError::NoURL));
    facts.shortVersion.reset();
    facts.icon = CLGIcon{core::asBytes("png"), "beef", {57.9f, 60}, true};
    EXPECT_EQ(configure(true, appURL()), std::nullopt);
    const core::Array apps = service.listed("apps");
    ASSERT_EQ(apps.size(), 1u);
    const core::Value* fields = apps[0].find("fields");
    EXPECT_EQ(text(fields->find("identifier")), "com.zembrix.algebra");
    EXPECT_EQ(text(fields->find("instance_identifier")), core::sha1Hex("aaaabbbb"));
    EXPECT_EQ(text(fields->find("name")), "Zembrix");
    EXPECT_EQ(text(fields->find("build_version")), "42");
    EXPECT_EQ(fields->find("display_version"), nullptr) << "no short version, no field";
    EXPECT_EQ(text(fields->find("minimum_sdk_version")), "12.0");
    EXPECT_EQ(*fields->find("slices"), core::Value(core::Array{core::Dictionary{{"arch", "x86_64"}, {"uuid", "bbbb"}},
                                                               core::Dictionary{{"arch", "arm64"}, {"uuid", "aaaa"}}}));
    EXPECT_EQ(*fields->find("icon"), core::Value(core::Dictionary{
                                         {"hash", "beef"}, {"prerendered", true}, {"width", 57}, {"height", 60}, {"bytes", 3}}));

    const auto [second, secondError] = loadSettings();
    ASSERT_TRUE(second);
    EXPECT_EQ(text(second->find("app")->find("status")), "activated");

    service.script("configure", {{"status", 500}});
    EXPECT_EQ(codeOf(configure(false, appURL())), static_cast<long>(CLGClientError::ConfigureFailed));
    EXPECT_EQ(configure(false, appURL()), std::nullopt);
    EXPECT_EQ(service.listed("apps")[0].find("configurations")->integerValue(), 2);
}

TEST_F(CLGClientTest, ASettingsAnswerWithoutADictionaryOrSuccessIsAFailure) {
    const struct {
        const char* name;
        core::Dictionary script;
    } cases[] = {
        {"server error", {{"status", 500}}},
        {"not found", {{"status", 404}}},
    };
    for (const auto& c : cases) {
        service.script("settings", c.script);
        const auto [settings, error] = loadSettings();
        EXPECT_FALSE(settings) << c.name;
        EXPECT_EQ(codeOf(error), static_cast<long>(CLGClientError::SettingsUnreadable)) << c.name;
    }
    EXPECT_EQ(facts.installEventRemovals, 0);

    service.script("settings", {{"content_type", "json"}, {"cache_duration", 60}});
    const auto [json, jsonError] = loadSettings();
    ASSERT_TRUE(json) << "JSON decodes as well as a property list";
    EXPECT_EQ(json->find("cache_duration")->integerValue(), 60);
}

TEST_F(CLGClientTest, ASubmissionIsAcceptedRefusedOrFailedByTheStatus) {
    core::TemporaryFolder folder;
    const auto record = folder.path() / "6553f10000fa0001123461626364.clgrecord";
    const auto report = folder.path() / "6553f10000fa0001123461626364.clg";
    testing::RecordFixture::standard().write(record);
    CLGCrashFile crashFile(record);
    crashFile.symbolicateWithUUIDMap({});
    ASSERT_TRUE(crashFile.writeCLSFileToPath(report));
    const std::string reportsURL = appURL() + "/reports";

    const struct {
        const char* name;
        std::optional<int> status;
        bool invalid;
        std::optional<CLGClientError> error;
    } cases[] = {
        {"created", 201, false, std::nullopt},
        {"the usual answer, as an invalid record", std::nullopt, true, std::nullopt},
        {"not found: refused", 404, false, CLGClientError::ReportRefused},
        {"server error: failed", 500, false, CLGClientError::SubmissionFailed},
    };
    for (const auto& c : cases) {
        if (c.status)
            service.script("report", {{"status", *c.status}});
        const auto error = submit(report, reportsURL, c.invalid);
        if (c.error)
            EXPECT_EQ(codeOf(error), static_cast<long>(*c.error)) << c.name;
        else
            EXPECT_EQ(error, std::nullopt) << c.name;
    }
    EXPECT_EQ(codeOf(submit(report, std::nullopt, false)), static_cast<long>(CLGClientError::NoURL));
    EXPECT_EQ(codeOf(submit(folder.path() / "missing.clg", reportsURL, false)), static_cast<long>(CLGClientError::FileUnreadable));

    const core::Array reports = service.listed("reports");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(text(reports[0].find("identifier")), "6553f10000fa0001123461626364");
    EXPECT_FALSE(reports[0].find("invalid")->boolValue());
    EXPECT_TRUE(reports[1].find("invalid")->boolValue());
    const core::Value* session = reports[0].find("session");
    ASSERT_TRUE(session);
    EXPECT_EQ(text(session->find("identifier")), "6553f10000fa00011234616263646566");
    EXPECT_EQ(text(session->find("signal")->find("name")), "SIGSEGV");
    const core::Value* frames = session->find("crashed_thread")->find("frames");
    ASSERT_TRUE(frames && frames->asArray() && frames->asArray()->size() == 1);
    EXPECT_EQ(frames->asArray()->front().find("pc")->integerValue(), 4096);
}

TEST(CLGClient, AServiceWhoseCertificateATestMadeIsTrustedOnlyOnceItsAuthorityIsConfigured) {
    core::TemporaryFolder folder;
    const auto certificate = folder.path() / "certificate.pem";
    const auto key = folder.path() / "key.pem";
    ASSERT_TRUE(net::testing::writeSelfSignedCertificate(certificate, key));
    testing::CrashServiceProcess service(certificate, key);
    ASSERT_TRUE(service.running());
    ASSERT_TRUE(service.url().starts_with("https://"));
    Facts facts;
    auto client = std::make_shared<CLGClient>(service.url());
    client->setDelegate(&facts);

    SettingsAnswer refused;
    client->loadSettingsFromURL(std::nullopt, refused.completion());
    const auto [none, error] = refused.get();
    EXPECT_FALSE(none);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, net::kHttpErrorDomain) << "the transport's error, unchanged";
    EXPECT_EQ(error->code, static_cast<long>(net::HttpFailure::Insecure));
    EXPECT_TRUE(service.listed("requests").empty());

    client->webClient()->setCertificateAuthorities(certificate);
    SettingsAnswer trusted;
    client->loadSettingsFromURL(std::nullopt, trusted.completion());
    const auto [settings, trustedError] = trusted.get();
    ASSERT_TRUE(settings) << (trustedError ? trustedError->text() : "");
    EXPECT_TRUE(text(settings->find("app")->find("url")).starts_with(service.url()));
}

TEST(CLGClient, DerivesTheHeaderKeyAndWritesHeaderTexts) {
    const CLGHeaderKey key = CLGClient::newHashedKeyWithSeed("0123abcd", "com.zembrix.algebra");
    const std::string salted = "0123abcdcom" + std::string(kCLGKeySaltReplace) + "zembrix" + std::string(kCLGKeySaltReplace) + "algebra";
    EXPECT_EQ(std::string(key.begin(), key.end()), core::sha1Hex(salted).substr(0, 32));

    for (const std::string plain : {"", "fifteen bytes!!", "sixteen bytes!!!", R"({"a":"1"})"}) {
        const auto encrypted = CLGHeaderEncrypt(key, plain);
        ASSERT_TRUE(encrypted);
        EXPECT_EQ(encrypted->size(), (plain.size() / 16 + 1) * 16) << "PKCS#7 pads a whole block onto a whole message";
        EXPECT_EQ(CLGHeaderDecrypt(key, *encrypted), plain);
    }

    const struct {
        core::Dictionary dictionary;
        const char* text;
    } cases[] = {
        {{{"k", "v"}}, R"({"k":"v"})"},
        {{{"a", "1"}, {"b", 2}}, R"({"a":"1","b":"2"})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLGClient::headerStringForDictionary(c.dictionary), c.text);

    Facts facts;
    CLGClient client("http://127.0.0.1:1");
    client.setDelegate(&facts);
    EXPECT_EQ(client.headerDataForDictionary({}), std::nullopt);
    EXPECT_EQ(client.identificationData(), std::nullopt);
    EXPECT_EQ(client.eventData(), std::nullopt);
    facts.slices.reset();
    EXPECT_EQ(client.instanceIdentifier(), "(unknown)");
}

} // namespace
} // namespace zm
