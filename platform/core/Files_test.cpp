#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/testsupport/FileSizeLimit.h"

#include <fstream>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace core {
namespace {

namespace fs = std::filesystem;

size_t entryCount(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(Files, AtomicWriteReplacesTheContentAndLeavesNoTemporaryFile) {
    TemporaryFolder folder;
    const fs::path file = folder.path() / "stats.plist";
    ASSERT_TRUE(writeFileAtomically(file, "first"));
    ASSERT_TRUE(writeFileAtomically(file, "second, longer"));
    EXPECT_EQ(*readFile(file), "second, longer");
    EXPECT_EQ(entryCount(folder.path()), 1u);
}

TEST(Files, AWriteThatFailsHalfWayLeavesThePreviousFileIntact) {
    TemporaryFolder folder;
    const fs::path file = folder.path() / "defaults.plist";
    ASSERT_TRUE(writeFileAtomically(file, "previous content"));

    Status status;
    {
        const FileSizeLimit limit(64);
        status = writeFileAtomically(file, std::string(4096, 'x'));
    }
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().domain, kFileErrorDomain);
    EXPECT_NE(status.error().description.find("cannot write"), std::string::npos)
        << status.error().description;
    EXPECT_EQ(*readFile(file), "previous content");
    EXPECT_EQ(entryCount(folder.path()), 1u);
}

TEST(Files, AtomicWriteKeepsThePermissionsOfTheReplacedFile) {
    TemporaryFolder folder;
    const fs::path file = folder.path() / "private";
    ASSERT_TRUE(writeFileAtomically(file, "a"));
    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(file, "b"));
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(Files, MissingFoldersAndFilesAreErrorsNamingThePath) {
    TemporaryFolder folder;
    const Status write = writeFileAtomically(folder.path() / "absent" / "f", "x");
    ASSERT_FALSE(write);
    EXPECT_NE(write.error().description.find("absent"), std::string::npos);
    const Result<std::string> read = readFile(folder.path() / "nothing");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().userInfo.at("path"), (folder.path() / "nothing").string());
    EXPECT_FALSE(listDirectory(folder.path() / "nothing"));
}

TEST(Files, ListingIsSortedAndMarksHiddenEntries) {
    TemporaryFolder folder;
    ASSERT_TRUE(createDirectories(folder.path() / "ProblemLists"));
    std::ofstream(folder.path() / "b.problemlist") << "x";
    std::ofstream(folder.path() / ".hidden") << "x";
    const Result<std::vector<DirectoryEntry>> entries = listDirectory(folder.path());
    ASSERT_TRUE(entries);
    EXPECT_EQ(*entries,
              (std::vector<DirectoryEntry>{
                  {".hidden", false, true}, {"ProblemLists", true, false}, {"b.problemlist", false, false}}));
}

} // namespace
} // namespace core
