#include "platform/documents/FileOperations.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <stdlib.h>

#include <gtest/gtest.h>

namespace documents {
namespace {

std::string contents(const std::filesystem::path& path) {
    core::Result<std::string> read = core::readFile(path);
    return read ? *read : "(none)";
}

TEST(FileOperations, NewFilesAndMovesNeverReplaceWhatIsThere) {
    core::TemporaryFolder folder;
    const std::filesystem::path a = folder.path() / "a.problemlist";
    const std::filesystem::path b = folder.path() / "b.problemlist";

    ASSERT_TRUE(createFileAtomically(a, "first").ok());
    const core::Result<FileStamp> again = createFileAtomically(a, "second");
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().code, kDocumentsErrorFileExists);
    EXPECT_EQ(contents(a), "first");

    ASSERT_TRUE(createFileAtomically(b, "other").ok());
    const core::Status moved = moveItemWithoutReplacing(a, b);
    ASSERT_FALSE(moved);
    EXPECT_EQ(moved.error().code, kDocumentsErrorFileExists);
    EXPECT_EQ(contents(a), "first");
    EXPECT_EQ(contents(b), "other");

    // Folders too.
    std::filesystem::create_directories(folder.path() / "x" / "inside");
    std::filesystem::create_directories(folder.path() / "y");
    EXPECT_FALSE(moveItemWithoutReplacing(folder.path() / "x", folder.path() / "y"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "x" / "inside"));

    const std::filesystem::path c = folder.path() / "c.problemlist";
    ASSERT_TRUE(moveItemWithoutReplacing(a, c).ok());
    EXPECT_EQ(contents(c), "first");
    EXPECT_FALSE(std::filesystem::exists(a));

    // Nothing is left over beside them.
    const auto entries = core::listDirectory(folder.path());
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), 4u);
}

TEST(FileOperations, AStampTellsAnotherVersionOfTheFile) {
    core::TemporaryFolder folder;
    const std::filesystem::path path = folder.path() / "a";
    const core::Result<FileStamp> created = createFileAtomically(path, "one");
    ASSERT_TRUE(created);
    const core::Result<StampedContents> read = readFileWithStamp(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, "one");
    EXPECT_EQ(read->stamp, *created);
    const core::Result<FileStamp> replaced = replaceFileAtomically(path, "two");
    ASSERT_TRUE(replaced);
    EXPECT_NE(*replaced, *created);
    EXPECT_EQ(stampOf(path).value(), *replaced);
    EXPECT_FALSE(readFileWithStamp(folder.path() / "missing"));
}

TEST(FileOperations, AFileMovedToAnotherFileSystemIsCopiedThenRemoved) {
    core::TemporaryFolder folder;
    char otherTemplate[] = "/dev/shm/zembrix-XXXXXX";
    const char* other = ::mkdtemp(otherTemplate);
    if (!other || stampOf(other).value().device == stampOf(folder.path()).value().device)
        GTEST_SKIP() << "no second file system to move to";
    const std::filesystem::path from = folder.path() / "a.problemlist";
    const std::filesystem::path to = std::filesystem::path(other) / "a.problemlist";
    ASSERT_TRUE(createFileAtomically(from, "x + 1\n").ok());
    const core::Status moved = moveItemWithoutReplacing(from, to);
    EXPECT_TRUE(moved.ok()) << moved.error().text();
    EXPECT_EQ(contents(to), "x + 1\n");
    EXPECT_FALSE(std::filesystem::exists(from));
    ASSERT_TRUE(createFileAtomically(from, "y").ok());
    EXPECT_FALSE(moveItemWithoutReplacing(from, to));
    EXPECT_EQ(contents(to), "x + 1\n");
    EXPECT_EQ(contents(from), "y");
    std::filesystem::remove_all(other);
}

} // namespace
} // namespace documents
