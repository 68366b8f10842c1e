#include "platform/core/Json.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "shell/progression/CircleDrawerView.h"
#include "shell/progression/TopicProgressionView.h"
#include "shell/testing/ShellTesting.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::kPhone;
using testing::kTablet;

class RecordingProgressionDelegate : public TopicProgressionDelegate {
public:
    void difficultyChanged() override { ++changes; }
    int changes = 0;
};

// A progression widget as interface files make it, along the bottom of a headless device's window.
class ProgressionTest : public testing::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        store().resetProgress();
    }

    static TopicStatsDataController& store() { return TopicStatsDataController::sharedInstance(); }

    void show(const ui::Device& device) {
        start(device);
        std::string text = R"({
          "view": {"frame": [0, 0, $W, $H], "subviews": [{
            "class": "TopicProgressionView", "id": "progression", "frame": [0, $Y, $W, $BAR],
            "subviews": [
              {"class": "Label", "id": "novice", "frame": [0, 10, 60, 20],
               "properties": {"font": {"name": "HelveticaNeue-Light", "size": 15}}},
              {"class": "CircleDrawerView", "id": "noviceRow", "frame": [0, 5, 60, 30]},
              {"class": "Label", "id": "master", "frame": [0, 10, 60, 20],
               "properties": {"font": {"name": "HelveticaNeue-Light", "size": 15}}},
              {"class": "CircleDrawerView", "id": "masterRow", "frame": [0, 5, 60, 30]},
              {"class": "Button", "id": "button", "frame": [0, 5, 120, 30]}
            ],
            "outlets": {"noviceLabel": "novice", "masterLabel": "master", "noviceCirclesView": "noviceRow",
                        "masterCirclesView": "masterRow", "problemsButton": "button"}
          }]}
        })";
        const core::Size screen = device.screenSize();
        const float bar = device.isTablet() ? 100 : 40;
        for (const auto& [name, value] : {std::pair{"$W", screen.width}, std::pair{"$H", screen.height},
                                          std::pair{"$Y", screen.height - bar}, std::pair{"$BAR", bar}}) {
            for (size_t at = text.find(name); at != std::string::npos; at = text.find(name))
                text.replace(at, std::string_view(name).size(), std::to_string(int(value)));
        }
        const core::Result<core::Value> document = core::parseJson(text);
        ASSERT_TRUE(document);
        owner = ui::ViewController::create();
        ASSERT_TRUE(ui::InterfaceLoader::shared().loadDocumentInto(*document, *owner).ok());
        host->window().addSubview(owner->view());
        widget = std::dynamic_pointer_cast<TopicProgressionView>(owner->view()->subviews().front());
        ASSERT_TRUE(widget);
        widget->setDelegate(delegate);
    }

    // Taps the middle of a view of the widget.
    void tap(const ui::View& view) {
        const core::Rect frame = view.convertRectToView(view.bounds(), nullptr);
        const core::Point point{frame.midX(), frame.midY()};
        host->touchDown(point);
        host->touchUp(point);
    }

    std::shared_ptr<ui::ViewController> owner;
    std::shared_ptr<TopicProgressionView> widget;
    std::shared_ptr<RecordingProgressionDelegate> delegate = std::make_shared<RecordingProgressionDelegate>();
};

TEST_F(ProgressionTest, WordsAreTitledWhenTheFileIsLoaded) {
    show(kPhone);
    EXPECT_EQ(widget->noviceLabel()->text(), "Novice");
    EXPECT_EQ(widget->masterLabel()->text(), "Master");
}

// Words as wide as their text, rows as wide as their dots, the button after them, centred as one
// line with the rows a point lower.
TEST_F(ProgressionTest, TheBarIsLaidOutAsOneCentredLine) {
    struct Case {
        ui::Device device;
        std::string_view topic;
        float noviceRowWidth;
        float masterRowWidth;
    };
    const Case cases[] = {
        {kPhone, AlgebraTopicExponents, 4 * 17 + 5 * 5, 4 * 12 + 5 * 2},
        {kTablet, AlgebraTopicExponents, 4 * 25 + 5 * 5, 4 * 17 + 5 * 2},
        {kPhone, AlgebraTopicOrderOfOperations, 4 * 12 + 5 * 2, 4 * 12 + 5 * 2},
        {kTablet, AlgebraTopicCommutation, 4 * 25 + 5 * 5, 4 * 25 + 5 * 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.topic) + (c.device.isTablet() ? " on a tablet" : " on a phone"));
        show(c.device);
        widget->setTopicID(std::string(c.topic));
        const float width = c.device.screenSize().width;
        widget->organizeBottom(width);

        const float rowGap = c.device.isTablet() ? 20 : 5;
        const float labelGap = c.device.isTablet() ? 5 : 0;
        const core::Rect novice = widget->noviceLabel()->frame();
        const core::Rect noviceRow = widget->noviceCirclesView()->frame();
        const core::Rect master = widget->masterLabel()->frame();
        const core::Rect masterRow = widget->masterCirclesView()->frame();
        const core::Rect button = widget->problemsButton()->frame();
        EXPECT_EQ(noviceRow.width(), c.noviceRowWidth);
        EXPECT_EQ(masterRow.width(), c.masterRowWidth);
        for (const std::shared_ptr<ui::Label>& label : {widget->noviceLabel(), widget->masterLabel()})
            EXPECT_FLOAT_EQ(label->frame().width(), gfx::measureText(label->text(), label->font()).width + 2);
        EXPECT_FLOAT_EQ(noviceRow.minX(), novice.maxX() + labelGap);
        EXPECT_FLOAT_EQ(master.minX(), noviceRow.maxX() + rowGap);
        EXPECT_FLOAT_EQ(masterRow.minX(), master.maxX() + labelGap);
        EXPECT_FLOAT_EQ(button.minX(), masterRow.maxX() + rowGap);
        EXPECT_NEAR(novice.minX(), width - button.maxX(), 0.01f);
        const float middle = widget->bounds().height() / 2;
        for (const core::Rect& frame : {novice, master, button})
            EXPECT_FLOAT_EQ(frame.midY(), middle);
        for (const core::Rect& frame : {noviceRow, masterRow})
            EXPECT_FLOAT_EQ(frame.midY(), middle + 1);
        EXPECT_EQ(widget->frame().width(), width);
    }
}

TEST_F(ProgressionTest, AWordIsAtMostSeventyPointsWide) {
    show(kTablet);
    widget->setTopicID(std::string(AlgebraTopicCommutation));
    widget->noviceLabel()->setText("Apprentice of the first order");
    widget->masterLabel()->setText("");
    widget->organizeBottom(1024);
    EXPECT_EQ(widget->noviceLabel()->frame().width(), 70);
    EXPECT_EQ(widget->masterLabel()->frame().width(), 2);
}

TEST_F(ProgressionTest, TappingTheDimmedDifficultySelectsItOnce) {
    show(kTablet);
    widget->setTopicID(std::string(AlgebraTopicEquations));
    widget->organizeBottom(1024);
    EXPECT_EQ(widget->noviceLabel()->alpha(), 1);
    EXPECT_EQ(widget->masterCirclesView()->alpha(), 0.25f);

    // The selected difficulty: nothing happens.
    tap(*widget->noviceLabel());
    EXPECT_EQ(delegate->changes, 0);

    tap(*widget->masterCirclesView());
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicEquations), AlgebraDifficultyMaster);
    EXPECT_EQ(delegate->changes, 1);
    EXPECT_EQ(widget->masterLabel()->alpha(), 1);
    EXPECT_EQ(widget->masterCirclesView()->alpha(), 1);
    EXPECT_EQ(widget->noviceLabel()->alpha(), 0.25f);
    EXPECT_EQ(widget->noviceCirclesView()->alpha(), 0.25f);
    tap(*widget->masterLabel());
    EXPECT_EQ(delegate->changes, 1);

    // The button is no part of either difficulty.
    tap(*widget->problemsButton());
    EXPECT_EQ(delegate->changes, 1);
    tap(*widget->noviceCirclesView());
    EXPECT_EQ(store().difficultyForTopic(AlgebraTopicEquations), AlgebraDifficultyNovice);
    EXPECT_EQ(delegate->changes, 2);
}

TEST_F(ProgressionTest, SolvedCountsFromTheStoreFillTheRows) {
    show(kPhone);
    const std::string topic(AlgebraTopicFactorization); // 4 at each difficulty
    store().problemCompletedForTopic(topic);
    store().selectDifficulty(AlgebraDifficultyMaster, topic);
    for (int i = 0; i < 6; ++i)
        store().problemCompletedForTopic(topic);
    widget->setTopicID(topic);

    // Rows start empty: a single solved problem fills its dot with the sweep; more show at once, a
    // full row at most.
    const std::shared_ptr<CircleDrawerView> novice = widget->noviceCirclesView();
    const std::shared_ptr<CircleDrawerView> master = widget->masterCirclesView();
    EXPECT_EQ(novice->totalCircles(), 4u);
    EXPECT_EQ(novice->completedCircles(), 0u);
    EXPECT_TRUE(novice->problemInProgress());
    EXPECT_EQ(master->completedCircles(), 4u);
    EXPECT_EQ(widget->masterLabel()->alpha(), 1);
    host->advance(CircleDrawerView::kFillDuration + 0.1);
    EXPECT_EQ(novice->completedCircles(), 1u);

    // One more counted at master shows nothing new on a full row.
    store().problemCompletedForTopic(topic);
    widget->updateViews();
    EXPECT_EQ(master->completedCircles(), 4u);
    EXPECT_FALSE(master->circleLayer());
}

TEST_F(ProgressionTest, TheInProgressFlagReachesBothRows) {
    show(kPhone);
    widget->setTopicID(std::string(AlgebraTopicLikeTerms));
    widget->setInProgress(true);
    EXPECT_TRUE(widget->inProgress());
    EXPECT_TRUE(widget->noviceCirclesView()->problemInProgress());
    EXPECT_TRUE(widget->masterCirclesView()->problemInProgress());
    widget->setInProgress(false);
    EXPECT_FALSE(widget->noviceCirclesView()->problemInProgress());
    EXPECT_FALSE(widget->masterCirclesView()->problemInProgress());
}

TEST_F(ProgressionTest, AnUnknownDifficultyLeavesTheHighlightAsItWas) {
    show(kPhone);
    const std::string topic(AlgebraTopicLikeTerms);
    store().selectDifficulty(AlgebraDifficultyMaster, topic);
    widget->setTopicID(topic);
    store().selectDifficulty("AlgebraDifficultyGrandmaster", topic);
    widget->updateViews();
    EXPECT_EQ(widget->masterLabel()->alpha(), 1);
    EXPECT_EQ(widget->noviceLabel()->alpha(), 0.25f);
    EXPECT_EQ(delegate->changes, 0);
}

} // namespace
} // namespace zm
