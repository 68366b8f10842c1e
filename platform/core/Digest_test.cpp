#include "platform/core/Digest.h"

#include <regex>
#include <set>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Digest, KnownDigests) {
    EXPECT_EQ(sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    // The hash of a device address in its text form, as the analytics identity computes it.
    EXPECT_EQ(sha1("02:00:00:00:00:00").size(), 20u);
    EXPECT_EQ(md5(std::string_view("\x00\x01", 2)).size(), 16u);
}

TEST(Digest, UuidStringsAreVersion4InUpperCase) {
    const std::regex layout("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string uuid = uuidString();
        EXPECT_TRUE(std::regex_match(uuid, layout)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 20u);
    const uint8_t bytes[16] = {0xE6, 0x21, 0xE1, 0xF8, 0xC3, 0x6C, 0x49, 0x5A,
                               0x93, 0xFC, 0x0C, 0x24, 0x7A, 0x3E, 0x6E, 0x5F};
    EXPECT_EQ(uuidString(bytes), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}

} // namespace
} // namespace core
