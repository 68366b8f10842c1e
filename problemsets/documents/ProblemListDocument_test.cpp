#include "problemsets/documents/ProblemListDocument.h"

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/documents/testing/DocumentTesting.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

class ProblemListDocumentTest : public ::testing::Test {
protected:
    void settle() { documents::testing::settle(loop); }

    std::optional<std::string> file() const {
        core::Result<std::string> read = core::readFile(url);
        return read ? std::optional<std::string>(*read) : std::nullopt;
    }

    bool open(ProblemListDocument& document) {
        bool opened = false;
        document.open([&](bool success) { opened = success; });
        settle();
        return opened;
    }

    bool save(ProblemListDocument& document, documents::SaveOperation operation) {
        bool saved = false;
        document.save(operation, [&](bool success) { saved = success; });
        settle();
        return saved;
    }

    static std::vector<std::string> texts(const ProblemListDocument& document) {
        std::vector<std::string> forms;
        for (size_t i = 0; i < document.totalProblems(); ++i)
            forms.push_back(document.problemAtIndex(i)->description());
        return forms;
    }

    core::MainLoop loop{std::make_shared<core::ManualClock>()};
    core::TemporaryFolder folder;
    std::filesystem::path url = folder.path() / "Set.problemlist";
};

// The file's bytes, the problems they read as, and the bytes the next save writes.
TEST_F(ProblemListDocumentTest, FileBytesReadAsProblemsAndWriteBack) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> problems;
        std::string written;
    };
    const Case cases[] = {
        {"empty file", "", {}, ""},
        {"two problems", "x + 1\n2 * y\n", {"x + 1", "2 * y"}, "x + 1\n2 * y\n"},
        {"last line without its line feed", "x + 1\n2 * y", {"x + 1", "2 * y"}, "x + 1\n2 * y\n"},
        {"blank lines dropped", "\n\nx + 1\n\n\n2 * y\n\n", {"x + 1", "2 * y"}, "x + 1\n2 * y\n"},
        {"typed text in the expression's own form", "x+3=5\n", {"x + 3 = 5"}, "x + 3 = 5\n"},
        {"an unreadable line kept byte for byte", "3+\n((x\n", {"3+", "((x"}, "3+\n((x\n"},
        {"a carriage return goes to the reader with its line", "3+\r\n", {"3+\r"}, "3+\r\n"},
        {"a line of blanks is a problem", "x\n  \n", {"x", "  "}, "x\n  \n"},
        {"text beyond ASCII", "é + 1\n", {"é + 1"}, "é + 1\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(core::writeFileAtomically(url, test.bytes).ok());
        auto document = ProblemListDocument::create(url);
        EXPECT_FALSE(document->problems());
        ASSERT_TRUE(open(*document));
        EXPECT_EQ(texts(*document), test.problems);
        document->updateChangeCount(documents::ChangeKind::Done);
        ASSERT_TRUE(save(*document, documents::SaveOperation::ForOverwriting));
        EXPECT_EQ(file(), test.written);
    }
}

TEST_F(ProblemListDocumentTest, BytesThatAreNotUtf8AreRefusedAndKept) {
    const std::string bytes = "x + 1\n\xff\xfe y\n";
    ASSERT_TRUE(core::writeFileAtomically(url, bytes).ok());
    auto document = ProblemListDocument::create(url);
    core::LogCapture log;
    EXPECT_FALSE(open(*document));
    EXPECT_FALSE(document->problems());
    // Whatever the screens do next, the file stays as it was.
    document->replaceProblem(nullptr, ExprTextReader::parseString("x"));
    EXPECT_FALSE(save(*document, documents::SaveOperation::ForOverwriting));
    loop.advanceBy(core::fromSeconds(documents::Document::kAutosaveDelay));
    settle();
    EXPECT_EQ(file(), bytes);
}

TEST_F(ProblemListDocumentTest, ANewSetSavedBeforeItWasReadIsAnEmptyFile) {
    auto document = ProblemListDocument::create(url);
    ASSERT_TRUE(save(*document, documents::SaveOperation::ForCreating));
    EXPECT_EQ(file(), "");
    EXPECT_EQ(document->totalProblems(), 0u);
    EXPECT_EQ(document->problemAtIndex(0), nullptr);
}

// Each edit, what the list holds after it, and whether it counted a change.
TEST_F(ProblemListDocumentTest, EditsCompareTheVeryProblemAndCountOneChangeEach) {
    const ExprPtr x = ExprTextReader::parseString("x");
    const ExprPtr otherX = ExprTextReader::parseString("x");
    const ExprPtr y = ExprTextReader::parseString("y");
    const ExprPtr z = ExprTextReader::parseString("z");
    const ExprPtr stranger = ExprTextReader::parseString("x");
    struct Case {
        const char* name;
        std::function<void(ProblemListDocument&)> edit;
        std::vector<ExprPtr> after;
        bool counted;
    };
    const Case cases[] = {
        {"adding", [&](ProblemListDocument& d) { d.addProblem(z); }, {x, otherX, y, z}, true},
        {"deleting one of two equal problems", [&](ProblemListDocument& d) { d.deleteProblem(otherX); }, {x, y}, true},
        {"deleting a problem not in the set", [&](ProblemListDocument& d) { d.deleteProblem(stranger); },
         {x, otherX, y}, false},
        {"replacing in place", [&](ProblemListDocument& d) { d.replaceProblem(otherX, z); }, {x, z, y}, true},
        {"replacing nothing appends", [&](ProblemListDocument& d) { d.replaceProblem(nullptr, z); },
         {x, otherX, y, z}, true},
        {"replacing a stranger appends", [&](ProblemListDocument& d) { d.replaceProblem(stranger, z); },
         {x, otherX, y, z}, true},
        {"replacing by nothing", [&](ProblemListDocument& d) { d.replaceProblem(x, nullptr); }, {x, otherX, y}, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        auto document = ProblemListDocument::create(url);
        document->setProblems(std::make_shared<ProblemList>(ProblemList{x, otherX, y}));
        test.edit(*document);
        EXPECT_EQ(*document->problems(), test.after);
        EXPECT_EQ(document->hasUnsavedChanges(), test.counted);
    }
}

TEST_F(ProblemListDocumentTest, EveryReadReplacesTheListObject) {
    ASSERT_TRUE(core::writeFileAtomically(url, "x\n").ok());
    auto document = ProblemListDocument::create(url);
    ASSERT_TRUE(open(*document));
    const std::shared_ptr<ProblemList> held = document->problems();
    ASSERT_TRUE(core::writeFileAtomically(url, "y\nz\n").ok());
    bool reverted = false;
    document->revert([&](bool success) { reverted = success; });
    settle();
    ASSERT_TRUE(reverted);
    EXPECT_NE(document->problems(), held);
    EXPECT_EQ(held->size(), 1u);
    EXPECT_EQ(texts(*document), (std::vector<std::string>{"y", "z"}));
}

TEST(QVDocument, NamesAndExtensionsOfTheKinds) {
    EXPECT_EQ(QVDocument::filenameExtension(), "qvs");
    EXPECT_EQ(QVDocument::defaultFilenamePrefix(), "NewFile");
    EXPECT_EQ(ProblemListDocument::filenameExtension(), "problemlist");
    EXPECT_EQ(ProblemListDocument::defaultFilenamePrefix(), "ProblemSet");
    EXPECT_EQ(QVDocument::displayNameFromURL("/a/My.Set.problemlist"), "My.Set");
    EXPECT_EQ(ProblemListDocument::create("/a/b/Algebra.problemlist")->displayName(), "Algebra");
}

} // namespace
} // namespace zm
