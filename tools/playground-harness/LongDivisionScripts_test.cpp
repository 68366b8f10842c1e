#include "tools/playground-harness/LongDivisionText.h"
#include "tools/playground-harness/ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace zm {
namespace {

struct ScriptedDivision {
    const char* script;
    const char* division;
    bool remainders;
    const char* end;
    // Moves the division refused with the error feedback (a wrong repeating pattern's Go).
    size_t refusals = 0;
};

std::string nameOf(const ScriptedDivision& c, ui::Idiom idiom) {
    std::string name = std::filesystem::path(c.script).stem().string() + (idiom == ui::Idiom::Phone ? "_phone" : "_tablet");
    std::ranges::replace_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// Whole long divisions worked by a finger from the scripts in testdata, on a phone and on a tablet;
// the pictures of every step are kept beside the test program (renders/SCRIPT_DEVICE).
class LongDivisionScripts : public ::testing::TestWithParam<std::tuple<ScriptedDivision, ui::Idiom>> {};

TEST_P(LongDivisionScripts, EndWhereTheyShould) {
    const auto& [c, idiom] = GetParam();
    std::ifstream file(std::filesystem::path(ZEMBRIX_TEST_DATA_DIR) / c.script);
    std::stringstream text;
    text << file.rdbuf();
    const auto script = host::parseTouchScript(text.str());
    ASSERT_TRUE(script) << script.error().description;
    auto division = readLongDivisionArgument(c.division);
    ASSERT_TRUE(division) << division.error().description;
    (*division)->setAcceptsRemainders(c.remainders);
    const std::filesystem::path pictures =
        std::filesystem::canonical("/proc/self/exe").parent_path() / "renders" / nameOf(c, idiom);
    std::filesystem::remove_all(pictures);
    std::ostringstream log;
    const auto end = runLongDivisionScript(*division, false, *script, pictures, ui::Device{idiom, 1}, log);
    ASSERT_TRUE(end) << end.error().description;
    EXPECT_EQ(*end, c.end) << log.str();
    const std::string played = log.str();
    size_t refusals = 0;
    for (size_t at = played.find("  refused\n"); at != std::string::npos; at = played.find("  refused\n", at + 1))
        ++refusals;
    EXPECT_EQ(refusals, c.refusals) << played;
}

INSTANTIATE_TEST_SUITE_P(
    Divisions, LongDivisionScripts,
    ::testing::Combine(
        ::testing::Values(
            ScriptedDivision{"long-division-1234-by-5.script", "5)1234", true, "quotient 246, remainder 4, solved"},
            ScriptedDivision{"long-division-101-by-5.script", "5)101", true, "quotient 20, remainder 1, solved"},
            ScriptedDivision{"long-division-100-by-11.script", "11)100 09", false, "quotient 9.0909, remainder 0, solved"},
            ScriptedDivision{"long-division-100-by-7.script", "7)100 285714", false,
                             "quotient 14.2857, remainder 0, finding pattern", 2},
            ScriptedDivision{"long-division-7.5-by-12.5.script", "12.5)7.5", false, "quotient 0.6, remainder 0, solved"},
            ScriptedDivision{"long-division-3.5-by-1.25.script", "1.25)3.5", false, "quotient 2.8, remainder 0, solved"}),
                       ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet)),
    [](const auto& info) { return nameOf(std::get<0>(info.param), std::get<1>(info.param)); });

} // namespace
} // namespace zm
