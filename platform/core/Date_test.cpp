#include "platform/core/Date.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Date, Iso8601TextRoundTrips) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{0, "1970-01-01T00:00:00Z"},
                 {951782400, "2000-02-29T00:00:00Z"},
                 {978307200, "2001-01-01T00:00:00Z"},
                 {-1, "1969-12-31T23:59:59Z"},
                 {1709294400, "2024-03-01T12:00:00Z"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Date{c.seconds}.iso8601(), c.text);
        const auto read = Date::fromIso8601(c.text);
        ASSERT_TRUE(read) << c.text;
        EXPECT_EQ(read->secondsSince1970, c.seconds);
    }
    EXPECT_EQ(Date::fromIso8601("2024-03-01T12:00:00.5Z")->secondsSince1970, 1709294400.5);
    EXPECT_EQ(Date{1709294400.9}.iso8601(), "2024-03-01T12:00:00Z");
}

TEST(Date, MalformedTextIsRefused) {
    for (const char* bad :
         {"", "2024-03-01", "2024-03-01T12:00:00", "2024-13-01T00:00:00Z", "2023-02-29T00:00:00Z",
          "2024-04-31T00:00:00Z", "2024-03-01T24:00:00Z", "2024-03-01T12:00:00ZZ", "2024-03-01T12:00:00.Z",
          "abcd-03-01T12:00:00Z", "0000-01-01T00:00:00Z"})
        EXPECT_FALSE(Date::fromIso8601(bad)) << bad;
}

} // namespace
} // namespace core
