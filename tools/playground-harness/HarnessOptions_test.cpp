#include "tools/playground-harness/HarnessOptions.h"

#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(HarnessOptions, ReadsTheDeviceTheModeAndTheExpression) {
    const std::vector<std::string> arguments{"--device", "phone", "--scale",  "2",     "--headless",
                                             "--out",    "pics",  "--script", "s.txt", "3 + 5"};
    const auto options = HarnessOptions::parse(arguments);
    ASSERT_TRUE(options) << options.error().description;
    EXPECT_EQ(options->device.idiom, ui::Idiom::Phone);
    EXPECT_EQ(options->device.scale, 2);
    EXPECT_TRUE(options->headless);
    EXPECT_EQ(options->out, "pics");
    EXPECT_EQ(options->script, "s.txt");
    EXPECT_EQ(options->expression, "3 + 5");

    const auto window = HarnessOptions::parse(std::vector<std::string>{"x = 5"});
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->headless);
    EXPECT_EQ(window->device.idiom, ui::Idiom::Tablet);
}

TEST(HarnessOptions, ReadsALongDivision) {
    const auto options = HarnessOptions::parse(
        std::vector<std::string>{"--long-division", "3)10 3", "--remainders", "--demo", "--device", "phone", "--worked", "2"});
    ASSERT_TRUE(options) << options.error().description;
    EXPECT_EQ(options->longDivision, "3)10 3");
    EXPECT_TRUE(options->remainders);
    EXPECT_TRUE(options->demo);
    EXPECT_EQ(options->device.idiom, ui::Idiom::Phone);
    EXPECT_EQ(options->worked, 2u);
}

TEST(HarnessOptions, RefusesWhatItCannotRun) {
    const std::vector<std::vector<std::string>> bad{
        {},
        {"--device", "watch", "x"},
        {"--scale", "3", "x"},
        {"--headless", "x"},
        {"--script", "s", "x"},
        {"--out"},
        {"x", "y"},
        {"--fast", "x"},
        {"--long-division"},
        {"--long-division", "5)1234", "x"},
        {"--remainders", "x"},
        {"--worked", "1", "x"},
        {"--long-division", "5)1234", "--worked"},
        {"--long-division", "5)1234", "--worked", "two"},
        {"--long-division", "5)1234", "--worked", "-1"},
    };
    for (const auto& arguments : bad)
        EXPECT_FALSE(HarnessOptions::parse(arguments)) << ::testing::PrintToString(arguments);
}

} // namespace
} // namespace zm
