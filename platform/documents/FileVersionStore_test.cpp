#include "platform/documents/FileVersionStore.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace documents {
namespace {

std::string contents(const std::filesystem::path& path) {
    core::Result<std::string> read = core::readFile(path);
    return read ? *read : "(none)";
}

TEST(LocalFileVersionStore, KeepsVersionsBesideTheFileUntilTheyAreRemoved) {
    core::TemporaryFolder folder;
    const std::filesystem::path item = folder.path() / "Set.problemlist";
    LocalFileVersionStore store;
    EXPECT_FALSE(store.currentVersionOfItem(item));
    ASSERT_TRUE(core::writeFileAtomically(item, "theirs\n").ok());

    ASSERT_TRUE(store.addConflictVersionOfItem(item, "mine\n").ok());
    ASSERT_TRUE(store.addConflictVersionOfItem(item, "mine, later\n").ok());
    const std::optional<FileVersion> current = store.currentVersionOfItem(item);
    ASSERT_TRUE(current);
    EXPECT_TRUE(current->isCurrent);
    std::vector<FileVersion> others = store.otherVersionsOfItem(item);
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(contents(others[0].url), "mine\n");
    EXPECT_EQ(contents(others[1].url), "mine, later\n");
    EXPECT_LE(current->modificationDate, others[0].modificationDate);
    EXPECT_LE(others[0].modificationDate, others[1].modificationDate);
    EXPECT_EQ(store.unresolvedConflictVersionsOfItem(item).size(), 2u);
    // Kept in a hidden folder, out of the sets' way.
    EXPECT_TRUE(others[0].url.string().starts_with((folder.path() / ".versions/Set.problemlist/").string()));

    ASSERT_TRUE(store.replaceItem(item, others[1]).ok());
    EXPECT_EQ(contents(item), "mine, later\n");
    ASSERT_TRUE(store.setResolved(others[0], true).ok());
    EXPECT_EQ(store.unresolvedConflictVersionsOfItem(item).size(), 1u);

    // They follow the file when it moves, and go when they are removed.
    const std::filesystem::path moved = folder.path() / "Renamed.problemlist";
    std::filesystem::rename(item, moved);
    ASSERT_TRUE(store.moveVersionsOfItem(item, moved).ok());
    EXPECT_TRUE(store.otherVersionsOfItem(item).empty());
    EXPECT_EQ(store.otherVersionsOfItem(moved).size(), 2u);
    ASSERT_TRUE(store.removeOtherVersionsOfItem(moved).ok());
    EXPECT_TRUE(store.otherVersionsOfItem(moved).empty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / ".versions"));
}

} // namespace
} // namespace documents
