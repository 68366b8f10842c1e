#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(CommandLine, HelpIsRecognisedInBothSpellings) {
    for (const char* spelling : {"--help", "-h"}) {
        const CommandLineResult result = parseCommandLine({spelling});
        ASSERT_TRUE(result.options) << spelling;
        EXPECT_TRUE(result.options->showHelp) << spelling;
    }
}

TEST(CommandLine, DefaultsToATabletWindowAtScaleOne) {
    const CommandLineResult result = parseCommandLine({});
    ASSERT_TRUE(result.options);
    EXPECT_EQ(result.options->device, ui::Idiom::Tablet);
    EXPECT_EQ(result.options->scale, 1);
    EXPECT_FALSE(result.options->headless);
    EXPECT_FALSE(result.options->screenshot);
    EXPECT_FALSE(result.options->crash);
}

TEST(CommandLine, ACrashMayBeAskedForWithOrWithoutAWindow) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--crash"}, {"--headless", "--crash"}, {"--crash", "--headless", "--screenshot", "a.png"}}) {
        const CommandLineResult result = parseCommandLine(arguments);
        ASSERT_TRUE(result.options) << result.error;
        EXPECT_TRUE(result.options->crash);
    }
}

TEST(CommandLine, DeviceScaleHeadlessAndScreenshot) {
    const CommandLineResult result =
        parseCommandLine({"--device", "phone", "--scale", "2", "--headless", "--screenshot", "out.png"});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->device, ui::Idiom::Phone);
    EXPECT_EQ(result.options->scale, 2);
    EXPECT_TRUE(result.options->headless);
    EXPECT_EQ(result.options->screenshot, "out.png");
}

TEST(CommandLine, BadArgumentsAreRefusedAndNamed) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;
    };
    const Case cases[] = {
        {{"--fly"}, "--fly"},     {{"--device", "watch"}, "watch"},   {{"--scale", "3"}, "'3'"},
        {{"--scale"}, "--scale"}, {{"--screenshot"}, "--screenshot"}, {{"--headless"}, "--screenshot"},
    };
    for (const Case& c : cases) {
        const CommandLineResult result = parseCommandLine(c.arguments);
        EXPECT_FALSE(result.options) << c.named;
        EXPECT_NE(result.error.find(c.named), std::string::npos) << result.error;
    }
}

} // namespace
} // namespace zm
