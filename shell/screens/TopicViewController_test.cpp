#include "platform/gfx/Image.h"
#include "platform/ui/Snapshot.h"
#include "shell/screens/BackArrowView.h"
#include "shell/screens/TopicViewController.h"
#include "shell/testing/ContainerTesting.h"
#include "shell/topics/TopicIdentifiers.h"

namespace zm {
namespace {

class Screens : public testing::ContainerTest {};

TEST_F(Screens, ATopicOpensItsPlaygroundAndTheUsersOwnTopicOpensTheProblemSets) {
    launch(testing::kTablet);
    for (std::string_view id : kAlgebraTopics) {
        const Topic topic{std::string(id)};
        const std::shared_ptr<TopicViewController> screen =
            TopicViewController::spawnFromStoryboardWithTopic(topic);
        ASSERT_TRUE(screen) << id;
        EXPECT_FALSE(screen->containerVC()) << id;
        if (id == AlgebraTopicCustom) {
            EXPECT_EQ(screen->nibName(), "MasterListViewController");
            EXPECT_FALSE(screen->topic());
        } else {
            EXPECT_EQ(screen->nibName(), "PlaygroundViewController") << id;
            ASSERT_TRUE(screen->topic()) << id;
            EXPECT_EQ(screen->topic()->topicID(), id);
        }
    }
}

TEST_F(Screens, AScreenThatIsNotInTheBuildIsNotMade) {
    start(testing::kPhone);
    ui::ClassRegistry::shared().registerClass<testing::TestScreen, ui::ViewController>(
        "PlaygroundViewController", "ViewController", [] { return std::shared_ptr<testing::TestScreen>(); });
    EXPECT_EQ(TopicViewController::spawnFromStoryboardWithTopic(Topic(std::string(AlgebraTopicEquations))),
              nullptr);
}

TEST_F(Screens, TheBackArrowIsAnOpenAngleInsetThreePoints) {
    start({ui::Idiom::Phone, 1});
    const auto arrow = BackArrowView::create({0, 0, 20, 30});
    const std::shared_ptr<const gfx::Image> picture = ui::snapshotImage(*arrow);
    ASSERT_TRUE(picture);
    auto lit = [&](int x, int y) { return picture->bitmap().pixel(x, y).alpha > 200; };
    // Along the strokes from (17, 3) to (3, 15) to (17, 27)...
    for (auto [x, y] : {std::pair{17, 3}, {10, 9}, {3, 15}, {10, 21}, {17, 27}})
        EXPECT_TRUE(lit(x, y)) << x << ", " << y;
    EXPECT_EQ(picture->bitmap().pixel(3, 15).red, 255);
    // ... and nothing inside the angle or beyond its ends.
    for (auto [x, y] : {std::pair{14, 15}, {19, 15}, {10, 1}, {10, 29}, {0, 0}})
        EXPECT_FALSE(lit(x, y)) << x << ", " << y;
}

} // namespace
} // namespace zm
