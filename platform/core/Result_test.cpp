#include "platform/core/Result.h"

#include <string>

#include <gtest/gtest.h>

namespace core {
namespace {

Result<int> half(int n) {
    if (n % 2 != 0)
        return Error{"test", 1, "odd", {{"number", std::to_string(n)}}};
    return n / 2;
}

TEST(Result, CarriesAValueOrTheErrorThatPreventedIt) {
    const Result<int> good = half(8);
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(*good, 4);

    const Result<int> bad = half(3);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().description, "odd");
    EXPECT_EQ(bad.error().userInfo.at("number"), "3");
    EXPECT_EQ(bad.error().text(), "test 1: odd");

    EXPECT_TRUE(Status().ok());
    EXPECT_EQ(Status(Error{"d", 2, "x", {}}).error().code, 2);
}

} // namespace
} // namespace core
