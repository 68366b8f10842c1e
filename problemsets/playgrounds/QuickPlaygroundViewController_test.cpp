#include "problemsets/playgrounds/QuickPlaygroundViewController.h"

#include "model/Operator.h"
#include "playground/views/ExprView.h"
#include "problemsets/playgrounds/ProblemEditViewController.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "problemsets/testing/TypingTesting.h"

#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

class QuickProblem : public testing::TypingTest {
protected:
    std::shared_ptr<QuickPlaygroundViewController> openQuickProblem() {
        const std::shared_ptr<MasterListViewController> list = listOfSets();
        tapButton(list->quickProblemButton());
        return current<QuickPlaygroundViewController>();
    }
};

// Keyboard events, each with what the playground shows after it and whether it can be touched.
TEST_F(QuickProblem, WhatTheKeyboardDoesToThePlayground) {
    struct Step {
        std::string event; // "type TEXT", "delete N", "done", "cancel", "edit"
        std::string shown;
        bool touchable;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"cancel on the first keyboard", {{"cancel", "", true}}},
        {"x typed, then deleted", {{"type x", "x", false}, {"delete 1", "", false}, {"done", "", true}}},
        {"typed and played", {{"type x+3=5", "x + 3 = 5", false}, {"done", "x + 3 = 5", true}}},
        {"a text that does not read is shown as it is",
         {{"type 3+", "3+", false}, {"done", "3+", true}}},
        {"cancel brings back what was shown when the keyboard opened",
         {{"type 2x", "2x", false},
          {"done", "2x", true},
          {"edit", "2x", true},
          {"type +1", "2x + 1", false},
          {"cancel", "2x", true}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(openQuickProblem());
        ASSERT_TRUE(keyboard());
        for (const Step& step : test.steps) {
            SCOPED_TRACE(step.event);
            if (step.event.starts_with("type "))
                type(step.event.substr(5));
            else if (step.event.starts_with("delete "))
                deleteCharacters(std::stoul(step.event.substr(7)));
            else if (step.event == "done")
                done();
            else if (step.event == "cancel")
                cancel();
            else if (step.event == "edit")
                tapButton(current<QuickPlaygroundViewController>()->editButton());
            EXPECT_EQ(shown(), step.shown);
            EXPECT_EQ(touchable(), step.touchable);
        }
        if (keyboard())
            cancel();
        tapButton(current<QuickPlaygroundViewController>()->homeButton());
    }
}

TEST_F(QuickProblem, TheKeyboardOpensOnTheProblemAsPlayedWithoutBlanks) {
    const auto quick = openQuickProblem();
    EXPECT_EQ(keyboardText(), "");
    type("x+3=5");
    done();
    EXPECT_EQ(keyboard(), nullptr);
    tapButton(quick->editButton());
    EXPECT_EQ(keyboardText(), "x+3=5");
    EXPECT_EQ(quick->ogProblem()->description(), "x + 3 = 5");
}

// Done makes the typed problem playable, with undo and restart; home zooms out to a new list.
TEST_F(QuickProblem, ATypedProblemPlaysWithUndoAndRestart) {
    const auto quick = openQuickProblem();
    type("1+2+x");
    done();
    EXPECT_EQ(quick->homeButton()->currentTitle(), "Problem Sets");
    EXPECT_EQ(quick->editButton()->currentTitle(), "Edit");
    const ExprPtr expr = quick->playgroundView()->mainPlayground()->mainExpr();
    const auto plus = quick->playgroundView()->mainPlayground()->mainExprView()->viewWithOp(expr->ownOps()[0].get());
    ASSERT_TRUE(plus);
    testing::tap(*host, quick->playgroundView()->convertPointToView(plus->getPointAtPosition(AnchorCenter), nullptr));
    wait(1);
    EXPECT_EQ(shown(), "3 + x");
    tapButton(quick->undoButton());
    EXPECT_EQ(shown(), "1 + 2 + x");
    testing::tap(*host, quick->playgroundView()->convertPointToView(plus->getPointAtPosition(AnchorCenter), nullptr));
    wait(1);
    tapButton(quick->restartButton());
    EXPECT_EQ(shown(), "1 + 2 + x");
    EXPECT_FALSE(quick->showingCompleted());

    tapButton(quick->homeButton());
    EXPECT_TRUE(current<MasterListViewController>());
}

class ProblemEdit : public testing::TypingTest {
protected:
    // Opens the set "Algebra" (x + 3 = 5, 2x) from the list, and then the edit screen of `row`, or of a
    // new problem.
    std::shared_ptr<ProblemEditViewController> edit(std::optional<size_t> row) {
        makeSet(localFolder(), "Algebra.problemlist", "x + 3 = 5\n2x\n");
        const std::shared_ptr<MasterListViewController> list = listOfSets();
        tapOn(*cells(*list)[0]);
        set = current<ProblemListViewController>();
        if (row) {
            tapButton(set->topRightButton());
            tapOn(*cells(*set)[*row]);
        } else {
            tapButton(set->createProblemButton());
        }
        return current<ProblemEditViewController>();
    }

    std::vector<std::string> problems() const {
        std::vector<std::string> texts;
        for (size_t i = 0; i < set->document()->totalProblems(); ++i)
            texts.push_back(set->document()->problemAtIndex(i)->description());
        return texts;
    }

    std::shared_ptr<ProblemListViewController> set;
};

// Each way through the edit screen: what the keyboard starts with, and what the set holds after.
TEST_F(ProblemEdit, DoneAndCancelOnEveryPath) {
    struct Case {
        const char* name;
        std::optional<size_t> row;
        std::string initial;
        std::function<void(ProblemEdit&)> keys;
        bool finish;
        std::vector<std::string> after;
        bool changed;
    };
    const Case cases[] = {
        {"Done without typing", 0, "x + 3 = 5", [](ProblemEdit&) {}, true, {"x + 3 = 5", "2x"}, false},
        {"a changed problem keeps its place", 0, "x + 3 = 5", [](ProblemEdit& t) { t.retype("x+4=6"); }, true,
         {"x + 4 = 6", "2x"}, true},
        {"a text that does not read is kept as it is", 1, "2x", [](ProblemEdit& t) { t.retype("3+"); }, true,
         {"x + 3 = 5", "3+"}, true},
        {"an emptied text changes nothing", 0, "x + 3 = 5", [](ProblemEdit& t) { t.retype(""); }, true,
         {"x + 3 = 5", "2x"}, false},
        {"a new problem goes at the end", std::nullopt, "", [](ProblemEdit& t) { t.type("y+1"); }, true,
         {"x + 3 = 5", "2x", "y + 1"}, true},
        {"a new problem with nothing typed is none", std::nullopt, "", [](ProblemEdit&) {}, true,
         {"x + 3 = 5", "2x"}, false},
        {"Cancel after changing", 0, "x + 3 = 5", [](ProblemEdit& t) { t.retype("9"); }, false,
         {"x + 3 = 5", "2x"}, false},
        {"Cancel of a new problem", std::nullopt, "", [](ProblemEdit& t) { t.type("9"); }, false,
         {"x + 3 = 5", "2x"}, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto editor = edit(test.row);
        ASSERT_TRUE(editor);
        EXPECT_EQ(keyboardText(), test.initial);
        // A changed problem shows from the start.
        EXPECT_EQ(shown(), test.row ? test.initial : "");
        test.keys(*this);
        test.finish ? done() : cancel();
        const auto back = current<ProblemListViewController>();
        ASSERT_TRUE(back);
        EXPECT_NE(back, set);
        EXPECT_EQ(back->document(), set->document());
        EXPECT_EQ(problems(), test.after);
        EXPECT_EQ(set->document()->hasUnsavedChanges(), test.changed);
        EXPECT_EQ(back->totalRows(), test.after.size());
        // The set is written when its screen goes.
        tapButton(back->homeButton());
        std::string file;
        for (const std::string& problem : test.after)
            file += problem + "\n";
        EXPECT_EQ(core::readFile(localFolder() / "Algebra.problemlist").value(), file);
    }
}

} // namespace
} // namespace zm
