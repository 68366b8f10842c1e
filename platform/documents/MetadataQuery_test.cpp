#include "platform/documents/MetadataQuery.h"

#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/documents/FileOperations.h"
#include "platform/documents/testing/DocumentTesting.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace documents {
namespace {

class MetadataQueryTest : public ::testing::Test {
protected:
    void settle() { testing::settle(loop); }

    void make(const std::filesystem::path& relative) {
        std::filesystem::create_directories((scope.path() / relative).parent_path());
        std::ofstream(scope.path() / relative) << "x";
    }

    // The results heard last, by path below the scope, hidden ones marked with "(hidden)".
    std::vector<std::string> heard() const {
        std::vector<std::string> names;
        for (const MetadataQuery::Item& item : results) {
            std::string name = std::filesystem::relative(item.url, scope.path()).string();
            if (item.isHidden.value_or(false))
                name += " (hidden)";
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::shared_ptr<MetadataQuery> startQuery() {
        auto query = MetadataQuery::create(scope.path(), ".problemlist");
        query->start([this](MetadataQuery::Event event, const std::vector<MetadataQuery::Item>& found) {
            events.push_back(event);
            results = found;
        });
        settle();
        return query;
    }

    core::MainLoop loop{std::make_shared<core::ManualClock>()};
    core::TemporaryFolder scope;
    std::vector<MetadataQuery::Event> events;
    std::vector<MetadataQuery::Item> results;
};

TEST_F(MetadataQueryTest, GatheringFindsTheMatchingFilesOutsideHiddenFolders) {
    for (const char* file : {"ProblemLists/a.problemlist", "ProblemLists/.b.problemlist", "c.problemlist",
                             "ProblemLists/D.PROBLEMLIST", "ProblemLists/e.txt", ".versions/f.problemlist",
                             "ProblemLists/deeper/g.problemlist"})
        make(file);
    const std::shared_ptr<MetadataQuery> query = startQuery();
    EXPECT_EQ(events, std::vector{MetadataQuery::Event::GatheringFinished});
    EXPECT_EQ(heard(), (std::vector<std::string>{"ProblemLists/.b.problemlist (hidden)", "ProblemLists/a.problemlist",
                                                 "ProblemLists/deeper/g.problemlist", "c.problemlist"}));
}

TEST_F(MetadataQueryTest, ChangesByAnotherProcessAreReportedAfterThePollInterval) {
    const std::shared_ptr<MetadataQuery> query = startQuery();
    EXPECT_TRUE(heard().empty());
    const std::filesystem::path folder = scope.path() / "ProblemLists";
    // Another program makes the folder and a set in it, then a second set.
    ASSERT_TRUE(testing::writeInAnotherProcess(folder / "x.problemlist", "1"));
    loop.advanceBy(core::fromSeconds(MetadataQuery::kPollInterval));
    settle();
    EXPECT_EQ(heard(), std::vector<std::string>{"ProblemLists/x.problemlist"});
    ASSERT_TRUE(testing::writeInAnotherProcess(folder / "y.problemlist", "2"));
    query->poll();
    settle();
    EXPECT_EQ(heard(), (std::vector<std::string>{"ProblemLists/x.problemlist", "ProblemLists/y.problemlist"}));
    EXPECT_EQ(events.back(), MetadataQuery::Event::Updated);

    // A move out and a removal.
    ASSERT_TRUE(moveItemWithoutReplacing(folder / "x.problemlist", scope.path() / ".x.problemlist").ok());
    std::filesystem::remove(folder / "y.problemlist");
    query->poll();
    settle();
    EXPECT_EQ(heard(), std::vector<std::string>{".x.problemlist (hidden)"});
}

TEST_F(MetadataQueryTest, AStoppedQueryReportsNothingMore) {
    const std::shared_ptr<MetadataQuery> query = startQuery();
    const size_t heardBefore = events.size();
    make("a.problemlist");
    query->poll(); // a search is on its way
    query->stop();
    make("b.problemlist");
    loop.advanceBy(core::fromSeconds(1));
    settle();
    EXPECT_EQ(events.size(), heardBefore);
    EXPECT_FALSE(query->isStarted());
}

} // namespace
} // namespace documents
