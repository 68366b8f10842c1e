#include "platform/core/Encoding.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Encoding, HexWritesTwoDigitsPerByte) {
    EXPECT_EQ(hexString(std::string_view("\x00\x0f\xab\xff", 4)), "000fabff");
    EXPECT_EQ(hexString(Bytes{0x02, 0x00, 0xAB}, true), "0200AB");
    EXPECT_EQ(hexString(""), "");
}

TEST(Encoding, Base64RoundTripsEveryRemainder) {
    const struct {
        const char* plain;
        const char* encoded;
    } cases[] = {{"", ""},
                 {"f", "Zg=="},
                 {"fo", "Zm8="},
                 {"foo", "Zm9v"},
                 {"foob", "Zm9vYg=="},
                 {"fooba", "Zm9vYmE="},
                 {"foobar", "Zm9vYmFy"},
                 {"\xff\xfe\xfd", "//79"}};
    for (const auto& c : cases) {
        EXPECT_EQ(base64Encode(std::string_view(c.plain)), c.encoded);
        const auto decoded = base64Decode(c.encoded);
        ASSERT_TRUE(decoded) << c.encoded;
        EXPECT_EQ(asText(*decoded), c.plain);
    }
}

TEST(Encoding, Base64DecodeSkipsLineBreaksAndRefusesMalformedText) {
    EXPECT_EQ(asText(*base64Decode("Zm9v\nYmFy\n")), "foobar");
    EXPECT_EQ(asText(*base64Decode("  Zm9v\r\n\tYg==  ")), "foob");
    for (const char* bad : {"Zm9", "Zm9v!", "Z=9v", "Zg==Zm9v", "Zm=v", "===="})
        EXPECT_FALSE(base64Decode(bad)) << bad;
}

TEST(Encoding, PercentEscapeKeepsLettersDigitsAndTheGivenMarks) {
    EXPECT_EQ(percentEscape("a b/c&d=e~f-g.h_i"), "a%20b%2Fc%26d%3De~f-g.h_i");
    EXPECT_EQ(percentEscape("\xC3\xA9"), "%C3%A9");
    EXPECT_EQ(percentEscape("100%"), "100%25");
    // Keeping "%" leaves existing escapes as they are.
    EXPECT_EQ(percentEscape("a%20b c/\"", std::string_view("-._~%")), "a%20b%20c%2F%22");
}

TEST(Encoding, PercentUnescapeRefusesMalformedEscapesAndBrokenUtf8) {
    EXPECT_EQ(*percentUnescape("a%20b%2fc"), "a b/c");
    EXPECT_EQ(*percentUnescape("%C3%A9t%C3%A9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(*percentUnescape("plain"), "plain");
    for (const char* bad : {"%", "%2", "%zz", "a%2", "%C3", "%FF"})
        EXPECT_FALSE(percentUnescape(bad)) << bad;
}

TEST(Encoding, Utf8Validity) {
    for (const char* good : {"", "abc", "\xCF\x80", "\xE2\x88\x92", "\xF0\x9F\x98\x80"})
        EXPECT_TRUE(isValidUtf8(good)) << good;
    for (const char* bad :
         {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xCF", "a\xFF"})
        EXPECT_FALSE(isValidUtf8(bad));
}

} // namespace
} // namespace core
