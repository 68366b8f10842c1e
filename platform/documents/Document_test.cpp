#include "platform/documents/Document.h"

#include "platform/core/ApplicationEvents.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/testsupport/FileSizeLimit.h"
#include "platform/documents/FileVersionStore.h"
#include "platform/documents/testing/DocumentTesting.h"

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace documents {
namespace {

// A document of one text; a text beginning with "!" is not one it can read.
class TextDocument : public Document {
public:
    static std::shared_ptr<TextDocument> make(std::filesystem::path url) {
        return std::shared_ptr<TextDocument>(new TextDocument(std::move(url)));
    }

    void edit(std::string newText) {
        text = std::move(newText);
        updateChangeCount(ChangeKind::Done);
    }

    std::string text;

protected:
    using Document::Document;

    std::string contentsForType(std::string_view) override { return text; }
    core::Status loadFromContents(std::string_view bytes, std::string_view) override {
        if (bytes.starts_with('!'))
            return documentsError(kDocumentsErrorUnreadable, "not a text of ours");
        text = bytes;
        return {};
    }
};

class DocumentTest : public ::testing::Test {
protected:
    void settle() { testing::settle(loop); }

    std::optional<std::string> file() const {
        core::Result<std::string> read = core::readFile(url);
        return read ? std::optional<std::string>(*read) : std::nullopt;
    }

    // Opens and answers whether it succeeded.
    bool open(TextDocument& document) {
        std::optional<bool> opened;
        document.open([&](bool success) { opened = success; });
        settle();
        EXPECT_TRUE(opened.has_value());
        return opened.value_or(false);
    }

    bool save(TextDocument& document, SaveOperation operation) {
        std::optional<bool> saved;
        document.save(operation, [&](bool success) { saved = success; });
        settle();
        EXPECT_TRUE(saved.has_value());
        return saved.value_or(false);
    }

    core::MainLoop loop{std::make_shared<core::ManualClock>()};
    core::TemporaryFolder folder;
    std::filesystem::path url = folder.path() / "set.problemlist";
};

// What each kind of save does to the file, depending on what the document knows of it.
TEST_F(DocumentTest, ADocumentWritesOnlyNewFilesOrTheVersionItRead) {
    struct Case {
        const char* name;
        std::optional<std::string> before;          // the file before the document is made
        bool opened;                                // the document read it
        std::function<void(const std::filesystem::path&)> meanwhile; // someone else's hand on the file
        SaveOperation operation;
        bool saved;
        std::optional<std::string> after;
        unsigned state;
    };
    const auto remove = [](const std::filesystem::path& path) { std::filesystem::remove(path); };
    const auto rewrite = [](const std::filesystem::path& path) {
        EXPECT_TRUE(testing::writeAsAnotherProgram(path, "theirs"));
    };
    const auto writeInPlace = [](const std::filesystem::path& path) { std::ofstream(path) << "theirs"; };
    const Case cases[] = {
        {"creating a new file", std::nullopt, false, {}, SaveOperation::ForCreating, true, "mine", 0},
        {"creating over a file", "old", false, {}, SaveOperation::ForCreating, false, "old",
         DocumentStateClosed | DocumentStateSavingError},
        {"overwriting what it never read", "old", false, {}, SaveOperation::ForOverwriting, false, "old",
         DocumentStateClosed | DocumentStateSavingError},
        {"overwriting what it read", "old", true, {}, SaveOperation::ForOverwriting, true, "mine", 0},
        {"overwriting a deleted file", "old", true, remove, SaveOperation::ForOverwriting, false, std::nullopt,
         DocumentStateSavingError},
        {"overwriting another program's save", "old", true, rewrite, SaveOperation::ForOverwriting, false,
         "theirs", DocumentStateSavingError | DocumentStateInConflict},
        {"overwriting another program's write in place", "old", true, writeInPlace, SaveOperation::ForOverwriting,
         false, "theirs", DocumentStateSavingError | DocumentStateInConflict},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(url);
        std::filesystem::remove_all(folder.path() / ".versions");
        if (test.before) {
            ASSERT_TRUE(core::writeFileAtomically(url, *test.before).ok());
        }
        auto document = TextDocument::make(url);
        if (test.opened) {
            ASSERT_TRUE(open(*document));
        }
        if (test.meanwhile)
            test.meanwhile(url);
        document->edit("mine");
        EXPECT_EQ(save(*document, test.operation), test.saved);
        EXPECT_EQ(file(), test.after);
        EXPECT_EQ(document->documentState(), test.state);
        EXPECT_EQ(document->hasUnsavedChanges(), !test.saved);
    }
}

TEST_F(DocumentTest, ItsOwnSavesFollowEachOtherWithoutConflict) {
    auto document = TextDocument::make(url);
    document->edit("one");
    ASSERT_TRUE(save(*document, SaveOperation::ForCreating));
    // Three saves asked for at once: each overwrites the version the one before it wrote.
    int saved = 0;
    for (const char* text : {"two", "three", "four"}) {
        document->edit(text);
        document->save(SaveOperation::ForOverwriting, [&](bool success) { saved += success; });
    }
    settle();
    EXPECT_EQ(saved, 3);
    EXPECT_EQ(file(), "four");
    // A second document for the file reads what the first wrote last.
    auto reader = TextDocument::make(url);
    ASSERT_TRUE(open(*reader));
    EXPECT_EQ(reader->text, "four");
}

TEST_F(DocumentTest, AReadingFailureKeepsTheFileAndTheDocumentClosed) {
    for (const char* bytes : {"!unreadable", static_cast<const char*>(nullptr)}) {
        std::filesystem::remove(url);
        if (bytes) {
            ASSERT_TRUE(core::writeFileAtomically(url, bytes).ok());
        }
        auto document = TextDocument::make(url);
        core::LogCapture log;
        EXPECT_FALSE(open(*document));
        EXPECT_EQ(document->documentState(), unsigned(DocumentStateClosed));
        EXPECT_FALSE(document->hasContents());
        document->edit("mine");
        EXPECT_FALSE(save(*document, SaveOperation::ForOverwriting));
        EXPECT_EQ(file(), bytes ? std::optional<std::string>(bytes) : std::nullopt);
    }
}

TEST_F(DocumentTest, ChangesCountUntilTheSaveThatCoversThem) {
    auto document = TextDocument::make(url);
    EXPECT_FALSE(document->hasUnsavedChanges());
    document->updateChangeCount(ChangeKind::Done);
    document->updateChangeCount(ChangeKind::Done);
    document->updateChangeCount(ChangeKind::Undone);
    EXPECT_TRUE(document->hasUnsavedChanges());
    document->updateChangeCount(ChangeKind::Undone);
    EXPECT_FALSE(document->hasUnsavedChanges());
    document->updateChangeCount(ChangeKind::Done);
    document->updateChangeCount(ChangeKind::Cleared);
    EXPECT_FALSE(document->hasUnsavedChanges());

    // A change made while a save runs is still to be saved afterwards.
    document->edit("first");
    document->save(SaveOperation::ForCreating, {});
    document->edit("second");
    settle();
    EXPECT_TRUE(document->hasUnsavedChanges());
    EXPECT_EQ(file(), "first");
}

TEST_F(DocumentTest, AChangedDocumentSavesItselfSoonAfterAndAtTermination) {
    ASSERT_TRUE(core::writeFileAtomically(url, "old").ok());
    auto document = TextDocument::make(url);
    ASSERT_TRUE(open(*document));
    document->edit("soon");
    loop.advanceBy(core::fromSeconds(Document::kAutosaveDelay / 2));
    settle();
    EXPECT_EQ(file(), "old");
    loop.advanceBy(core::fromSeconds(Document::kAutosaveDelay / 2));
    settle();
    EXPECT_EQ(file(), "soon");
    EXPECT_FALSE(document->hasUnsavedChanges());

    // At termination the file is written before the announcement returns.
    document->edit("at the end");
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationWillTerminateNotification));
    EXPECT_EQ(file(), "at the end");
    EXPECT_FALSE(document->hasUnsavedChanges());

    // A document that never read its file does not save itself over it.
    auto unread = TextDocument::make(url);
    unread->edit("never");
    loop.advanceBy(core::fromSeconds(Document::kAutosaveDelay));
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationWillTerminateNotification));
    settle();
    EXPECT_EQ(file(), "at the end");
}

TEST_F(DocumentTest, AWriteFailingHalfWayKeepsTheOldFile) {
    ASSERT_TRUE(core::writeFileAtomically(url, "old").ok());
    auto document = TextDocument::make(url);
    ASSERT_TRUE(open(*document));
    document->edit(std::string(4096, 'x'));
    {
        const core::FileSizeLimit limit(1000);
        core::LogCapture log;
        EXPECT_FALSE(save(*document, SaveOperation::ForOverwriting));
    }
    EXPECT_EQ(file(), "old");
    EXPECT_TRUE(document->hasUnsavedChanges());
    // The next save, with room, writes it all.
    EXPECT_TRUE(save(*document, SaveOperation::ForOverwriting));
    EXPECT_EQ(file(), std::string(4096, 'x'));
}

TEST_F(DocumentTest, StateChangesAreAnnouncedWithTheDocumentAsSender) {
    auto document = TextDocument::make(url);
    std::vector<unsigned> states;
    const core::NotificationCenter::Observation observing = core::NotificationCenter::defaultCenter().addObserver(
        std::string(Document::kStateChangedNotification), document.get(),
        [&](const core::Notification&) { states.push_back(document->documentState()); });
    ASSERT_TRUE(save(*document, SaveOperation::ForCreating));
    ASSERT_TRUE(testing::writeAsAnotherProgram(url, "theirs"));
    document->edit("mine");
    core::LogCapture log;
    EXPECT_FALSE(save(*document, SaveOperation::ForOverwriting));
    EXPECT_EQ(states, (std::vector<unsigned>{0, DocumentStateSavingError | DocumentStateInConflict}));
}

TEST_F(DocumentTest, AConflictKeepsTheDocumentsBytesAsAVersionUntilSettled) {
    ASSERT_TRUE(core::writeFileAtomically(url, "old").ok());
    auto document = TextDocument::make(url);
    ASSERT_TRUE(open(*document));
    ASSERT_TRUE(testing::writeAsAnotherProgram(url, "theirs"));
    document->edit("mine");
    {
        core::LogCapture log;
        EXPECT_FALSE(save(*document, SaveOperation::ForOverwriting));
    }
    FileVersionStore& versions = FileVersionStore::shared();
    const std::vector<FileVersion> kept = versions.unresolvedConflictVersionsOfItem(url);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(core::readFile(kept[0].url).value(), "mine");
    EXPECT_EQ(file(), "theirs");

    // Read again while the version waits, the document stays in conflict; once it is settled, not.
    auto reader = TextDocument::make(url);
    ASSERT_TRUE(open(*reader));
    EXPECT_EQ(reader->documentState(), unsigned(DocumentStateInConflict));
    ASSERT_TRUE(versions.setResolved(kept[0], true).ok());
    std::optional<bool> reverted;
    document->revert([&](bool success) { reverted = success; });
    settle();
    EXPECT_EQ(reverted, true);
    EXPECT_EQ(document->documentState(), unsigned(DocumentStateNormal));
    EXPECT_EQ(document->text, "theirs");
    ASSERT_TRUE(versions.removeOtherVersionsOfItem(url).ok());
}

} // namespace
} // namespace documents
