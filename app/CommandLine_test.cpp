#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(CommandLine, HelpIsRecognisedInBothSpellings)
{
    for (const char* spelling : {"--help", "-h"}) {
        const CommandLineResult result = parseCommandLine({spelling});
        ASSERT_TRUE(result.options) << spelling;
        EXPECT_TRUE(result.options->showHelp) << spelling;
    }
}

TEST(CommandLine, UnknownOptionIsRefusedAndNamed)
{
    const CommandLineResult result = parseCommandLine({"--fly"});
    EXPECT_FALSE(result.options);
    EXPECT_NE(result.error.find("--fly"), std::string::npos);
}

} // namespace
} // namespace zm
