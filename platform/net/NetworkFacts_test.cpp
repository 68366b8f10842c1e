#include "platform/net/NetworkFacts.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <map>

#include <gtest/gtest.h>

namespace net {
namespace {

TEST(NetworkFacts, TheConnectionTypeFollowsTheInterfacesThatAreUp) {
    const struct {
        std::vector<NetworkInterface> interfaces;
        ConnectionType expected;
    } cases[] = {
        {{}, ConnectionType::None},
        {{{"lo", true, true}}, ConnectionType::None},
        {{{"lo", true, true}, {"eth0", false, false}}, ConnectionType::None},
        {{{"lo", true, true}, {"eth0", true, false}}, ConnectionType::Wifi},
        {{{"wwan0", true, false}}, ConnectionType::Wwan},
        {{{"wwan0", true, false}, {"wlp2s0", true, false}}, ConnectionType::Wifi},
        {{{"wwan0", false, false}, {"wlp2s0", false, false}}, ConnectionType::None},
    };
    for (const auto& test : cases)
        EXPECT_EQ(connectionType(test.interfaces), test.expected) << test.interfaces.size();
}

TEST(NetworkFacts, TheMachinesInterfacesIncludeLoopbackOnce) {
    const auto interfaces = networkInterfaces();
    EXPECT_EQ(std::count_if(interfaces.begin(), interfaces.end(), [](const NetworkInterface& i) { return i.loopback; }),
              1);
}

class MacAddressTest : public ::testing::Test {
protected:
    void write(const std::string& interface, const std::string& address) {
        ASSERT_TRUE(core::createDirectories(sys.path() / interface).ok());
        ASSERT_TRUE(core::writeFileAtomically(sys.path() / interface / "address", address).ok());
    }

    core::TemporaryFolder sys;
};

TEST_F(MacAddressTest, TheAddressIsReadFromTheInterfacesFolder) {
    write("eth0", "00:1a:2B:3c:4d:ff\n");
    write("odd", "00:1a:2b:3c:4d\n");
    write("bad", "00:1a:2b:3c:4d:zz\n");
    write("long", "00:1a:2b:3c:4d:ee:ff:00:11:22:33:44:55:66:77:88:99:aa:bb:cc\n");
    EXPECT_EQ(macAddress("eth0", sys.path()), (MacAddress{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0xff}));
    for (const char* interface : {"odd", "bad", "long", "missing", "", "..", "../eth0"})
        EXPECT_EQ(macAddress(interface, sys.path()), std::nullopt) << interface;
}

TEST_F(MacAddressTest, OnlyAnInterfaceThatAPersonNamesIsRead) {
    write("eth0", "02:00:00:00:00:00\n");
    const auto environment = [](std::map<std::string, std::string> variables) {
        return [variables](const char* name) -> const char* {
            const auto found = variables.find(name);
            return found == variables.end() ? nullptr : found->second.c_str();
        };
    };
    EXPECT_EQ(configuredMacAddress(environment({}), sys.path()), std::nullopt);
    EXPECT_EQ(configuredMacAddress(environment({{kMacInterfaceVariable, ""}}), sys.path()), std::nullopt);
    EXPECT_EQ(configuredMacAddress(environment({{kMacInterfaceVariable, "eth0"}}), sys.path()),
              (MacAddress{0x02, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace net
