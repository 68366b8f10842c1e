#include "crashlog/service/CLGClient.h"
#include "crashlog/testing/ChildProcess.h"
#include "crashlog/testing/ClientFacts.h"
#include "crashlog/testing/CrashServiceProcess.h"
#include "crashlog/testing/Sanitizers.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <future>
#include <map>
#include <optional>

namespace zm {
namespace {

constexpr const char* kKey = "0123456789abcdef0123456789abcdef01234567";

// Environment variables set for the games the test starts, and put back afterwards.
class ScopedEnvironment {
public:
    void set(const std::string& name, const std::string& value) {
        if (!m_previous.contains(name)) {
            const char* previous = getenv(name.c_str());
            m_previous[name] = previous ? std::optional<std::string>(previous) : std::nullopt;
        }
        setenv(name.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_previous) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> m_previous;
};

TEST(CrashReporting, TheGameCrashedOnPurposeSendsItsReportWhenStartedAgain) {
    CLG_SKIP_UNDER_SANITIZER();
    testing::CrashServiceProcess service;
    ASSERT_TRUE(service.running());
    // The game is known to the service, as after its first run.
    testing::Facts facts;
    facts.apiKey = kKey;
    facts.bundleId = "com.zembrix.algebra";
    auto client = std::make_shared<CLGClient>(service.url());
    client->setDelegate(&facts);
    std::promise<std::optional<core::Error>> configured;
    client->configureApplicationUsingURL(service.url() + "/spi/v1/platforms/ios/apps/com.zembrix.algebra", true,
                                         [&](std::optional<core::Error> error) { configured.set_value(error); });
    ASSERT_EQ(configured.get_future().get(), std::nullopt);

    core::TemporaryFolder home;
    ScopedEnvironment environment;
    environment.set("ZEMBRIX_HOME", home.path().string());
    environment.set("ZEMBRIX_CRASHLOG_API_KEY", kKey);
    environment.set("CrashlogAPIEndpoint", service.url());
    environment.set("SDL_AUDIODRIVER", "dummy");

    const testing::ChildResult crashed = testing::runChild({ZEMBRIX_PROGRAM, "--headless", "--device", "phone", "--crash"});
    EXPECT_TRUE(crashed.killedBy(SIGILL)) << crashed.status << "\n" << crashed.err;
    EXPECT_TRUE(service.listed("reports").empty());

    const testing::ChildResult again = testing::runChild(
        {ZEMBRIX_PROGRAM, "--headless", "--device", "phone", "--screenshot", (home.path() / "again.png").string()});
    EXPECT_TRUE(again.exitedWith(0)) << again.status << "\n" << again.err;

    const core::Array reports = service.listed("reports");
    ASSERT_EQ(reports.size(), 1u);
    const core::Value* session = reports[0].find("session");
    ASSERT_TRUE(session);
    EXPECT_EQ(session->find("signal")->find("name")->stringValue(), "SIGILL");
    const core::Value* frames = session->find("crashed_thread")->find("frames");
    ASSERT_TRUE(frames && !frames->asArray()->empty());
    // Crashlog::crash, as the program's symbol table names it.
    EXPECT_EQ(frames->asArray()->front().find("symbol")->stringValue(), "_ZN2zm8Crashlog5crashEv");
}

} // namespace
} // namespace zm
