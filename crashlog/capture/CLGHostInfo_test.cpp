#include "crashlog/capture/CLGAllocator.h"
#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGHostInfo.h"
#include "crashlog/testing/Written.h"
#include "platform/core/SystemFacts.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/net/NetworkFacts.h"

#include <gtest/gtest.h>

#include <map>

namespace zm {
namespace {

using testing::written;

CLGHostFacts facts() {
    CLGHostFacts facts;
    facts.machine = "x86_64";
    facts.model = "Board \"X\"";
    facts.locale = "de_DE";
    facts.osBuild = "#1 SMP";
    facts.osVersion = "6.1.0";
    facts.cores = 8;
    facts.installIdentifier = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    facts.macAddress = std::array<uint8_t, 6>{0x02, 0x42, 0xac, 0x11, 0x00, 0x0b};
    return facts;
}

TEST(CLGHostInfo, WritesTheHardwareNameAsModelAndTheBoardAsMachine) {
    CLGHostInfo host;
    CLGHostInfoGather(host, facts(), CLGAllocatorCreate(0, 4096));
    CLGDeviceState state;
    state.chargingState = -1;
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteHost(w, host, state); }),
              "{\"host\":{\"model\":\"x86_64\",\"machine\":\"Board %22X%22\",\"locale\":\"de_DE\","
              "\"os_build\":\"#1 SMP\",\"os_version\":\"6.1.0\",\"platform\":\"iOS\",\"platform_code\":1,"
              "\"cores\":8,\"vendor_internal\":false,\"device_orientation\":1,\"ui_orientation\":1,"
              "\"battery_level\":\"(null)\",\"charging_state\":18446744073709551615,\"proximity_on\":false,"
              "\"is_backgrounded\":false}}\n");
}

TEST(CLGHostInfo, CollectsTheIdentifiersItsFlagsAskFor) {
    CLGHostFacts given = facts();
    given.vendorIdentifier = "VENDOR";
    given.advertisingIdentifier = "ADVERTISING";
    CLGHostInfo all;
    all.identifierFlags = kCLGIdentifierMACAddress | kCLGIdentifierVendor | kCLGIdentifierAdvertising;
    CLGHostInfoGather(all, given, CLGAllocatorCreate(0, 4096));
    EXPECT_STREQ(all.macAddress, "0242ac11000b");
    EXPECT_STREQ(all.vendorIdentifier, "VENDOR");
    EXPECT_STREQ(all.advertisingIdentifier, "ADVERTISING");
    EXPECT_STREQ(all.installIdentifier, "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    CLGHostInfo none;
    CLGHostInfoGather(none, given, CLGAllocatorCreate(0, 4096));
    EXPECT_EQ(none.macAddress, nullptr);
    EXPECT_EQ(none.vendorIdentifier, nullptr);
    EXPECT_EQ(none.advertisingIdentifier, nullptr);
    EXPECT_EQ(none.deviceIdentifier, nullptr);
}

TEST(CLGHostInfo, GathersTheSystemsFactsAndTheAddressOfTheConfiguredInterfaceOnly) {
    const core::SystemFacts& system = core::systemFacts();
    unsetenv(net::kMacInterfaceVariable);
    const CLGHostFacts facts = CLGHostFactsGather("INSTALL", std::string("/docs"));
    EXPECT_EQ(facts.machine, system.machine);
    EXPECT_EQ(facts.model, system.model);
    EXPECT_EQ(facts.osVersion, system.systemVersion);
    EXPECT_EQ(facts.osBuild, system.osVersion);
    EXPECT_GE(facts.cores, 1u);
    EXPECT_EQ(facts.installIdentifier, "INSTALL");
    EXPECT_EQ(facts.documentsPath, "/docs");
    EXPECT_FALSE(facts.macAddress);

    // The loopback interface has an address of six zero bytes.
    setenv(net::kMacInterfaceVariable, "lo", 1);
    EXPECT_EQ(CLGHostFactsGather("", std::nullopt).macAddress, (std::array<uint8_t, 6>{}));
    setenv(net::kMacInterfaceVariable, "no-such-interface", 1);
    ::testing::internal::CaptureStdout();
    uint8_t address[6];
    EXPECT_NE(CLGMACAddressRead(address), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Error: if_nametoindex failure\n");
    unsetenv(net::kMacInterfaceVariable);
}

TEST(CLGHostInfo, NamesTheLocaleFromTheEnvironment) {
    struct Case {
        std::map<std::string, std::string> environment;
        const char* locale;
    };
    const Case cases[] = {
        {{{"LANG", "de_DE.UTF-8"}}, "de_DE"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "fr_FR@euro"}}, "fr_FR"},
        {{{"LANG", "C.UTF-8"}}, "en_US_POSIX"},
        {{}, "en_US_POSIX"},
    };
    for (const Case& c : cases) {
        const auto locale = CLGLocaleIdentifier([&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        });
        EXPECT_EQ(locale, c.locale);
    }
}

TEST(CLGHostInfo, StorageMeasuresTheDocumentsVolumeOrSaysNothing) {
    core::TemporaryFolder folder;
    CLGHostFacts given = facts();
    given.documentsPath = (folder.path() / "Documents").string();
    CLGHostInfo host;
    CLGHostInfoGather(host, given, CLGAllocatorCreate(0, 4096));
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteStorage(w, host); }), "{\"storage\":{}}\n");
    std::filesystem::create_directory(folder.path() / "Documents");
    const std::string line = written([&](CLGRecordWriter& w) { CLGWriteStorage(w, host); });
    EXPECT_TRUE(line.starts_with("{\"storage\":{\"free\":")) << line;
    EXPECT_NE(line.find(",\"total\":"), std::string::npos) << line;
    host.documentsPath = nullptr;
    EXPECT_EQ(written([&](CLGRecordWriter& w) { CLGWriteStorage(w, host); }), "{\"storage\":{}}\n");
}

} // namespace
} // namespace zm
