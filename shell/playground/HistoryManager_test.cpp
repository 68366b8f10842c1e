#include "model/testing/Trees.h"
#include "platform/ui/Button.h"
#include "playground/testing/PlayStage.h"
#include "shell/playground/HistoryManager.h"

#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// A playground whose undo history is its delegate, with the two buttons the history switches.
class HistoryTest : public ::testing::Test {
public:
    void SetUp() override { stage.playgroundView->setPlayDelegate(history); }

    // Starts a problem the way the screen does: the playground plays the object, the history keeps a
    // copy.
    void start(const ExprPtr& problem) {
        stage.playgroundView->setNewProblem(problem);
        history->startedNewProblem(problem);
        stage.settle();
    }
    // Taps the operator at `index` of the root, as the player would.
    void tapOperator(size_t index) { stage.tap(stage.centerOf(stage.expr()->ownOps()[index].get())); }
    bool buttonsEnabled() const { return undo->isEnabled() && restart->isEnabled(); }
    bool buttonsDisabled() const { return !undo->isEnabled() && !restart->isEnabled(); }
    std::vector<std::string> stackTexts() const {
        std::vector<std::string> texts;
        for (const ExprPtr& expr : history->exprStack())
            texts.push_back(expr->description());
        return texts;
    }

    PlayStage stage;
    std::shared_ptr<ui::Button> undo = ui::Button::create();
    std::shared_ptr<ui::Button> restart = ui::Button::create();
    std::shared_ptr<HistoryManager> history =
        std::make_shared<HistoryManager>(stage.playgroundView, undo, restart);
};

// What the player does after starting a problem, and the history it leaves.
struct Scenario {
    const char* name;
    std::function<ExprPtr()> problem;
    std::function<void(HistoryTest&)> play;
    std::vector<std::string> stack; // oldest first
    std::string shown;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class HistoryScenarios : public HistoryTest, public ::testing::WithParamInterface<Scenario> {};

TEST_P(HistoryScenarios, LeaveTheExpectedHistory) {
    const Scenario& scenario = GetParam();
    start(scenario.problem());
    const std::string started = stage.text();
    scenario.play(*this);
    EXPECT_EQ(stackTexts(), scenario.stack);
    EXPECT_EQ(stage.text(), scenario.shown);
    // Outside help, the buttons are on exactly while there is something to undo.
    EXPECT_EQ(undo->isEnabled(), !scenario.stack.empty());
    EXPECT_EQ(restart->isEnabled(), !scenario.stack.empty());
    // Nothing the player does touches the problem as it was started.
    ASSERT_TRUE(history->originalExpr());
    EXPECT_EQ(history->originalExpr()->description(), started);
}

ExprPtr fourNumbers() {
    return sum({num(1), num(2), num(3), num(4)});
}

// A step opens a modal playground that takes over the move (as distributing does) and commits its
// change through the main playground before it closes.
void modalWithChange(HistoryTest& test) {
    PlaygroundView& view = *test.stage.playgroundView;
    view.showModalPlayground(std::make_shared<Playground>(view));
    test.stage.settle();
    test.stage.main().executeStep(test.stage.expr()->ownOps()[0]->step());
    test.stage.settle();
    view.popModalPlayground();
    test.stage.settle();
}

INSTANTIATE_TEST_SUITE_P(
    Undo, HistoryScenarios,
    ::testing::Values(
        Scenario{"Started", fourNumbers, [](HistoryTest&) {}, {}, "1 + 2 + 3 + 4"},
        Scenario{
            "OneStep", fourNumbers, [](HistoryTest& t) { t.tapOperator(0); }, {"1 + 2 + 3 + 4"}, "3 + 3 + 4"},
        Scenario{"ThreeSteps",
                 fourNumbers,
                 [](HistoryTest& t) {
                     t.tapOperator(0);
                     t.tapOperator(1);
                     t.tapOperator(0);
                 },
                 {"1 + 2 + 3 + 4", "3 + 3 + 4", "3 + 7"},
                 "10"},
        Scenario{"ThreeStepsUndoneOnce",
                 fourNumbers,
                 [](HistoryTest& t) {
                     t.tapOperator(0);
                     t.tapOperator(1);
                     t.tapOperator(0);
                     t.history->undo();
                 },
                 {"1 + 2 + 3 + 4", "3 + 3 + 4"},
                 "3 + 7"},
        Scenario{"ThreeStepsUndoneFourTimes",
                 fourNumbers,
                 [](HistoryTest& t) {
                     t.tapOperator(0);
                     t.tapOperator(1);
                     t.tapOperator(0);
                     for (int i = 0; i < 4; ++i)
                         t.history->undo();
                 },
                 {},
                 "1 + 2 + 3 + 4"},
        Scenario{"UndoneThenPlayedOn",
                 fourNumbers,
                 [](HistoryTest& t) {
                     t.tapOperator(0);
                     t.history->undo();
                     t.stage.settle();
                     t.tapOperator(2);
                 },
                 {"1 + 2 + 3 + 4"},
                 "1 + 2 + 7"},
        Scenario{"RefusedStep",
                 [] {
                     return sum({num(1), prod({num(2), num(3)})});
                 },
                 // Adding before multiplying breaks the order of operations: the terms shake.
                 [](HistoryTest& t) { t.tapOperator(0); },
                 {},
                 "1 + 2 * 3"},
        Scenario{"StepThatChangesNothing",
                 fourNumbers,
                 [](HistoryTest& t) {
                     t.history->willExecuteStep(nullptr, t.stage.expr());
                     t.history->executedStep(nullptr);
                 },
                 {},
                 "1 + 2 + 3 + 4"},
        // Right after a start nothing was kept: a report of a change has nothing to record.
        Scenario{"ReportWithoutAStepBefore",
                 fourNumbers,
                 [](HistoryTest& t) { t.history->executedStep(nullptr); },
                 {},
                 "1 + 2 + 3 + 4"},
        Scenario{"ModalWithAChangeIsOneEntry", fourNumbers, modalWithChange, {"1 + 2 + 3 + 4"}, "3 + 3 + 4"},
        Scenario{"ModalClosedWithoutAChange",
                 fourNumbers,
                 [](HistoryTest& t) {
                     PlaygroundView& view = *t.stage.playgroundView;
                     view.showModalPlayground(std::make_shared<Playground>(view));
                     t.stage.settle();
                     view.popModalPlayground();
                     t.stage.settle();
                 },
                 {},
                 "1 + 2 + 3 + 4"}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

TEST_F(HistoryTest, StepsInsideAnOpenModalAreNotRecordedUntilItCloses) {
    start(fourNumbers());
    PlaygroundView& view = *stage.playgroundView;
    view.showModalPlayground(std::make_shared<Playground>(view));
    stage.main().executeStep(stage.expr()->ownOps()[0]->step());
    stage.settle();
    EXPECT_TRUE(history->exprStack().empty());
    EXPECT_TRUE(buttonsDisabled());
    view.popModalPlayground();
    EXPECT_EQ(stackTexts(), std::vector<std::string>{"1 + 2 + 3 + 4"});
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(HistoryTest, NothingKeptIsEverShownOrChangedByPlaying) {
    start(fourNumbers());
    tapOperator(0);
    tapOperator(0);
    history->undo();
    stage.settle();
    // The playground shows a copy: playing it on leaves the kept entries as they were.
    ASSERT_EQ(history->exprStack().size(), 1u);
    EXPECT_NE(stage.expr(), history->exprStack().back());
    EXPECT_NE(stage.expr(), history->previousExpr());
    tapOperator(0);
    EXPECT_EQ(stage.text(), "6 + 4");
    EXPECT_EQ(stackTexts(), (std::vector<std::string>{"1 + 2 + 3 + 4", "3 + 3 + 4"}));
    EXPECT_EQ(history->previousExpr()->description(), "3 + 3 + 4");
}

TEST_F(HistoryTest, ANewProblemStartsANewHistory) {
    start(fourNumbers());
    tapOperator(0);
    ASSERT_TRUE(buttonsEnabled());
    start(sum({num(5), num(6)}));
    EXPECT_TRUE(history->exprStack().empty());
    EXPECT_FALSE(history->previousExpr());
    EXPECT_EQ(history->originalExpr()->description(), "5 + 6");
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(HistoryTest, ButtonsFollowTheHistoryWhenStateIsRestored) {
    start(fourNumbers());
    history->updateState();
    EXPECT_TRUE(buttonsDisabled());
    tapOperator(0);
    history->disableButtons();
    EXPECT_TRUE(buttonsDisabled());
    history->updateState();
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(HistoryTest, AGoneViewOrButtonsBreakNothing) {
    start(fourNumbers());
    tapOperator(0);
    auto orphan = std::make_shared<HistoryManager>(std::weak_ptr<PlaygroundView>{},
                                                   std::weak_ptr<ui::Button>{}, std::weak_ptr<ui::Button>{});
    orphan->startedNewProblem(nullptr);
    orphan->willExecuteStep(nullptr, stage.expr());
    orphan->executedStep(nullptr);
    orphan->undo();
    orphan->updateState();
    EXPECT_TRUE(orphan->exprStack().empty());
    EXPECT_FALSE(orphan->originalExpr());
}

} // namespace
} // namespace zm
