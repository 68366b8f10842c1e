#include "JTMathParser/ExprTextReader.h"
#include "tools/playground-harness/ScriptRunner.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace zm {
namespace {

struct ScriptedMove {
    const char* script;
    const char* expression;
    const char* end;
};

// The modal playgrounds played end to end by a finger on a tablet, as the scripts in testdata say.
class ModalScripts : public ::testing::TestWithParam<ScriptedMove> {};

TEST_P(ModalScripts, PlayToTheirEnd) {
    const ScriptedMove& move = GetParam();
    std::ifstream file(std::filesystem::path(ZEMBRIX_TEST_DATA_DIR) / move.script);
    std::stringstream text;
    text << file.rdbuf();
    const auto script = host::parseTouchScript(text.str());
    ASSERT_TRUE(script) << script.error().description;
    std::ostringstream log;
    // A folder per script: ctest runs the scripts side by side.
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "modal-scripts" / move.script;
    const auto end = runTouchScript(ExprTextReader::parseString(move.expression), *script, folder,
                                    ui::Device{ui::Idiom::Tablet, 1}, log);
    ASSERT_TRUE(end) << end.error().description;
    EXPECT_EQ(*end, move.end) << log.str();
}

INSTANTIATE_TEST_SUITE_P(Moves, ModalScripts,
                         ::testing::Values(ScriptedMove{"distribute.script", "2*(x+3)", "2 * x + 2 * 3"},
                                           ScriptedMove{"factor-pairs.script", "12 + 1", "3 * 4 + 1"}));

} // namespace
} // namespace zm
