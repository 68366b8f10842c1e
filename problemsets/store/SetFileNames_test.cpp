#include "problemsets/store/SetFileNames.h"

#include "platform/core/TemporaryFolder.h"

#include <fstream>
#include <set>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(SetFileNames, TypedNamesStayOneFileInTheirFolder) {
    const struct {
        const char* typed;
        const char* name;
    } cases[] = {
        {"Algebra", "Algebra"},   {"My.Set", "My.Set"},  {"a/b", "a-b"},           {"../../x", "-..-x"},
        {"..", "ProblemSet"},     {".hidden", "hidden"}, {"", "ProblemSet"},       {"   ", "ProblemSet"},
        {" spaced ", " spaced "}, {"/", "-"},            {"Übung 2", "Übung 2"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(cleanSetName(test.typed, "ProblemSet"), test.name) << test.typed;
    EXPECT_EQ(cleanSetName(std::string("a\0b", 3), "ProblemSet"), "a-b");
}

TEST(SetFileNames, UniqueNamesTakeTheFirstFreeNumberFromTwo) {
    const struct {
        std::set<std::string> taken;
        const char* base;
        const char* name;
    } cases[] = {
        {{}, "ProblemSet", "ProblemSet.problemlist"},
        {{"ProblemSet.problemlist", "ProblemSet(3).problemlist"}, "ProblemSet", "ProblemSet(2).problemlist"},
        {{"problemset.problemlist"}, "ProblemSet", "ProblemSet.problemlist"},
        {{"A.problemlist", "A(2).problemlist"}, "A", "A(3).problemlist"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(uniqueIncrementOfFilename(test.base, "problemlist",
                                            [&](const std::string& name) { return test.taken.contains(name); }),
                  test.name);
    }
}

TEST(SetFileNames, AFolderListsItsSetsByNameWhateverTheCase) {
    core::TemporaryFolder folder;
    for (const char* name : {"C.problemlist", "b.problemlist", ".hidden.problemlist", "D.PROBLEMLIST",
                             "e.problemlist.txt", "a.problemlists"})
        std::ofstream(folder.path() / name) << "";
    const auto listed = setFilesIn(folder.path(), "problemlist");
    ASSERT_TRUE(listed);
    std::vector<std::string> names;
    for (const auto& url : *listed)
        names.push_back(url.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.problemlist", "b.problemlist", "C.problemlist"}));
    EXPECT_FALSE(setFilesIn(folder.path() / "missing", "problemlist"));
}

} // namespace
} // namespace zm
