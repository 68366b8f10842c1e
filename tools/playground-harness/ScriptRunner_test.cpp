#include "JTMathParser/ExprTextReader.h"
#include "tools/playground-harness/ScriptRunner.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

namespace zm {
namespace {

class ScriptRunnerTest : public ::testing::Test {
protected:
    // A folder per test: ctest runs the tests of this file side by side.
    std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "harness-pictures" /
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ostringstream log;
};

TEST_F(ScriptRunnerTest, PlaysTheScriptAndDrawsEveryCommand) {
    std::filesystem::remove_all(folder);
    const auto script = host::parseTouchScript("tap @+#2\nshot added\ntap @+\n");
    ASSERT_TRUE(script);
    const auto end = runTouchScript(ExprTextReader::parseString("1 + 2 + 3"), *script, folder,
                                    ui::Device{ui::Idiom::Phone, 1}, log);
    ASSERT_TRUE(end) << end.error().description;
    EXPECT_EQ(*end, "6");
    for (const char* picture : {"00-start.png", "01-tap.png", "02-added.png", "03-tap.png"})
        EXPECT_GT(std::filesystem::file_size(folder / picture), 0u) << picture;
    EXPECT_NE(log.str().find("-> 1 + 5"), std::string::npos) << log.str();
}

TEST_F(ScriptRunnerTest, ATargetThatIsNotThereStopsTheScript) {
    const auto script = host::parseTouchScript("tap @+\ntap @8\n");
    ASSERT_TRUE(script);
    const auto end = runTouchScript(ExprTextReader::parseString("4 + 5"), *script, folder,
                                    ui::Device{ui::Idiom::Tablet, 1}, log);
    ASSERT_FALSE(end);
    EXPECT_EQ(end.error().description, "line 2: no label \"8\" #1 in 9");
}

} // namespace
} // namespace zm
