#include "platform/core/Collation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Collation, SortsLettersOfEitherCaseAlike) {
    std::vector<std::string> names{"cherry", "Verdana", "Banana", "apple", "Georgia", "Helvetica Neue", "banana"};
    sortLocalizedCaseInsensitive(names);
    EXPECT_THAT(names, ::testing::ElementsAre("apple", "Banana", "banana", "cherry", "Georgia", "Helvetica Neue",
                                              "Verdana"));
}

TEST(Collation, BrokenTextIsOrderedAndNeverRead) {
    const std::string broken = "a\xff\xc3";
    EXPECT_TRUE(localizedCaseInsensitiveLess("", broken));
    EXPECT_FALSE(localizedCaseInsensitiveLess(broken, broken));
    EXPECT_NE(localizedCaseInsensitiveLess(broken, "a"), localizedCaseInsensitiveLess("a", broken));
}

} // namespace
} // namespace core
