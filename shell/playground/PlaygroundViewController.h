#pragma once

#include "model/Expr.h"
#include "playground/PlaygroundContainerInputDelegate.h"
#include "playground/PlaygroundDelegate.h"
#include "shell/progression/TopicProgressionView.h"
#include "shell/screens/TopicViewController.h"

#include <cstdint>
#include <memory>

namespace gfx {
class Image;
}

namespace ui {
class Button;
class ImageView;
class Label;
class View;
} // namespace ui

namespace zm {

class HistoryManager;
class PlaygroundView;
class SunburstView;

// The screen on which a topic is played, one problem at a time. The playground fills the screen;
// along the top a bar on the left holds the way home ("Topics") and a bar on the right Undo, Restart
// and Help; along the bottom the progression widget shows the topic's progress with the new-problem
// button. The screen asks the progress store for problems of the topic's difficulty, keeps an untouched
// copy of the problem being played so that it can be started again, feeds every step to the undo
// history and plays the alert sound for a refused step.
//
// Made by the screen factory for every topic but the player's own problem sets, with its view from
// the interface file "PlaygroundViewController". The problem-set playground screens derive from it:
// they replace `finishViewDidLoad` (so no bar layout, progression set-up or first problem happen),
// and may replace `startProblem` and `hitHome`, and do their own work before the base's in
// `addChildInputViewController`.
//
// A solved problem is celebrated (PlaygroundCompletion.cpp): a white glow of the expression over two
// turning sunbursts, with a banner and a pulsing "Next Problem", or the mastery panel when it was the
// last problem the topic needed; a problem counts when it is first solved with help closed, and moves
// the topic from novice to master and on to mastered. The next problem then slides in from below while
// the solved one leaves upwards.
//
// Help (PlaygroundHelp.cpp) opens a panel along the bottom with the topic's name and a sentence of help,
// and starts the topic's automatic player on the problem being played.
//
// While the algebra keyboard is attached, it lies along the bottom, the top bars are gone and the
// playground takes the space above the keyboard.
//
// Main thread only.
class PlaygroundViewController : public TopicViewController,
                                 public PlaygroundDelegate,
                                 public PlaygroundContainerInputDelegate,
                                 public TopicProgressionDelegate {
public:
    static constexpr std::string_view kInterfaceName = "PlaygroundViewController";

    // The interface-file way of making one; the screen factory gives it its topic and file.
    static std::shared_ptr<PlaygroundViewController> create();
    ~PlaygroundViewController() override;

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    // Builds the screen and, through `finishViewDidLoad`, lays out the top-right bar and starts the
    // first problem.
    void viewDidLoad() override;
    // Fits the playground area, the progression widget and (unless the problem is solved) the
    // expression to the view.
    void viewDidLayoutSubviews() override;
    // The first visit of a topic, with nothing solved, opens help by itself.
    void viewDidAppear(bool animated) override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }

    // The last part of loading: the progression widget's topic, the top-right bar sized to its
    // titles, and the first problem.
    virtual void finishViewDidLoad();

    // The rectangle of the playground view the expression is fitted into; shorter while help shows.
    core::Rect makeSpacingRect();

    // The problem loop.

    // A new problem of the topic at its stored difficulty ("New Problem"); the current one stays when
    // the store has none.
    void hitRandom();
    // Plays `problem` (the very object, which the playground changes as it is played), keeping a copy
    // to restart from and starting a new undo history. Taken by value: Restart hands in the kept copy,
    // which this replaces.
    virtual void startProblem(ExprPtr problem);
    // The problem as it was started.
    void hitRestart();
    // The expression as it was before the last change.
    void hitUndo();
    // Back to the home carousel.
    virtual void hitHome();
    // The player chose the other difficulty: a problem of it replaces the current one.
    void difficultyChanged() override;

    // Completion, progression and mastery (PlaygroundCompletion.cpp).

    // Whether the expression on the playground meets the topic's goal; never without a topic.
    bool isComplete() const;
    // The end of the playground's animations: a problem just solved is counted when it counts and
    // celebrated, once, unless a term is still being dragged.
    void checkComplete();
    // Counts the solved problem when it counts, and notes whether that moves the topic to master or
    // masters it.
    void updateProgression();
    // The celebration: the playground is drawn into a picture, blurred white on a queue of its own, and
    // shown as a glow over two sunbursts with the banner or the mastery panel.
    void prettyCompletionEffect();
    // Takes a shown (or still coming) celebration away: the problem is played again (Undo, Restart).
    void clearCompletion();
    // The solved problem shrinks and leaves upwards while the new one, already on the playground,
    // slides in from below.
    void animateToNextProblem();
    // The panel of a mastered topic over the blurred background, with "Practice More" and the way to
    // the next topic.
    void showMastery();
    void hideMastery();
    // The mastery panel's buttons: home, moving on to the next topic; a new problem of this topic.
    void hitContinue();
    void hitStayHere();
    // A view of the whole screen's background, blurred.
    std::shared_ptr<ui::ImageView> bigBlurBackground();

    bool showingCompleted() const { return m_showingCompleted; }
    // The counted completion moves the topic to master; kept until a new problem (or leaving) applies it.
    bool switchToMaster() const { return m_switchToMaster; }
    // The counted completion mastered the topic.
    bool finishedMaster() const { return m_finishedMaster; }
    // The solved problem's glow with the sunbursts behind it; null while no completion shows.
    const std::shared_ptr<ui::View>& completedProblemView() const { return m_completedProblemView; }
    const std::shared_ptr<SunburstView>& firstSunburstView() const { return m_firstSunburstView; }
    const std::shared_ptr<SunburstView>& secondSunburstView() const { return m_secondSunburstView; }

    // Help (PlaygroundHelp.cpp).

    // Whether the help panel shows (it is attached to a view).
    bool isHelpVisible() const;
    // Opens help and starts the demonstration, or closes help when it is open ("Stop").
    void hitHelp();
    // Closes help, stopping the demonstration; nothing when help is closed.
    void hideHelp();

    // What the playground view tells the screen.
    bool respondsTo(PlaygroundMessage message) const override;
    void willExecuteStep(const std::shared_ptr<Step>& step, const ExprPtr& expr) override;
    void executedStep(const std::shared_ptr<Step>& step) override;
    // A refused step: the alert sound.
    void didErrorStep() override;
    // A real finger takes over from the demonstration.
    void touchBegan() override;
    // The moves have settled: was the problem solved?
    void animationComplete() override;

    // The keyboard: slides it in from below the bottom edge, one at a time, and takes it away at once.
    void addChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) override;
    void removeChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) override;
    // The keyboard attached, or null.
    const std::shared_ptr<ExprInputViewController>& inputVC() const { return m_inputVC; }

    // The screen's parts, from the interface file.
    const std::shared_ptr<PlaygroundView>& playgroundView() const { return m_playgroundView; }
    const std::shared_ptr<ui::View>& topRightView() const { return m_topRightView; }
    const std::shared_ptr<ui::View>& topLeftView() const { return m_topLeftView; }
    std::shared_ptr<TopicProgressionView> progressionView() const { return m_progressionView.lock(); }
    std::shared_ptr<ui::Button> undoButton() const { return m_undoButton.lock(); }
    std::shared_ptr<ui::Button> restartButton() const { return m_restartButton.lock(); }
    std::shared_ptr<ui::Button> helpButton() const { return m_helpButton.lock(); }
    std::shared_ptr<ui::Button> genProblemButton() const { return m_genProblemButton.lock(); }
    std::shared_ptr<ui::Button> homeButton() const { return m_homeButton.lock(); }
    void setHomeButton(std::weak_ptr<ui::Button> button) { m_homeButton = std::move(button); }
    // The help panel with its title and text, attached only while help shows.
    const std::shared_ptr<ui::View>& helpView() const { return m_helpView; }
    const std::shared_ptr<ui::Label>& topicNameLabel() const { return m_topicNameLabel; }
    const std::shared_ptr<ui::Label>& topicHelpTextLabel() const { return m_topicHelpTextLabel; }
    // The mastery panel and its parts, and the banner under a solved problem; attached only while
    // they show.
    const std::shared_ptr<ui::View>& masteryView() const { return m_masteryView; }
    const std::shared_ptr<ui::Button>& nextTopicButton() const { return m_nextTopicButton; }
    const std::shared_ptr<ui::Button>& practiceMoreButton() const { return m_practiceMoreButton; }
    const std::shared_ptr<ui::Label>& masteryTopicLabel() const { return m_masteryTopicLabel; }
    const std::shared_ptr<ui::Label>& masteryLabel() const { return m_masteryLabel; }
    const std::shared_ptr<ui::View>& completionBannerView() const { return m_completionBannerView; }

    // The undo history of the playground, made when the view loads.
    HistoryManager* historyManager() const { return m_historyManager.get(); }
    // An untouched copy of the problem as it was last started.
    const ExprPtr& currentProblem() const { return m_currentProblem; }
    void setCurrentProblem(ExprPtr problem) { m_currentProblem = std::move(problem); }

protected:
    PlaygroundViewController();

    std::shared_ptr<PlaygroundViewController> self();

private:
    // Undo, Restart and Help side by side at the right edge, each as wide as its title (Help as wide as
    // the wider of "Help" and "Stop"), with a gap between them and after the last.
    void layoutTopRightBar();
    // Centres the expression again and fits it into the playground area, animated.
    void refitExpression();

    // The last stage of the celebration, on the main queue, with the glow (null when the image filters
    // could not make it) and where it lies in a picture of the playground, in its pixels.
    void showCompletion(const std::shared_ptr<const gfx::Image>& glow, const core::Rect& glowPixels);
    // The banner over the solved problem, and "Next Problem" pulsing.
    void showCompletionBanner();
    // "New Problem" again, steady.
    void resetNewProblemButton();
    // Stores master as the topic's difficulty when a counted completion asked for it.
    void applySwitchToMaster();
    // The move to master is done: its help opens, for the topics with a second help text.
    void finishSwitchToMaster();
    // Every celebration under way is dropped: a late stage finds its generation gone.
    void dropPendingCompletion() { ++m_completionGeneration; }

    std::shared_ptr<PlaygroundView> m_playgroundView;
    std::shared_ptr<ui::View> m_topRightView;
    std::shared_ptr<ui::View> m_topLeftView;
    std::weak_ptr<TopicProgressionView> m_progressionView;
    std::unique_ptr<HistoryManager> m_historyManager;
    ExprPtr m_currentProblem;
    std::shared_ptr<ExprInputViewController> m_inputVC;
    // The buttons live in the bars and the progression widget.
    std::weak_ptr<ui::Button> m_restartButton;
    std::weak_ptr<ui::Button> m_undoButton;
    std::weak_ptr<ui::Button> m_helpButton;
    std::weak_ptr<ui::Button> m_genProblemButton;
    std::weak_ptr<ui::Button> m_homeButton;
    std::shared_ptr<ui::View> m_masteryView;
    std::shared_ptr<ui::View> m_helpView;
    std::shared_ptr<ui::Label> m_topicNameLabel;
    std::shared_ptr<ui::Label> m_topicHelpTextLabel;
    std::shared_ptr<ui::View> m_completionBannerView;
    std::shared_ptr<ui::Button> m_nextTopicButton;
    std::shared_ptr<ui::Button> m_practiceMoreButton;
    std::shared_ptr<ui::Label> m_masteryTopicLabel;
    std::shared_ptr<ui::Label> m_masteryLabel;

    // Made by the celebration.
    std::shared_ptr<SunburstView> m_firstSunburstView;
    std::shared_ptr<SunburstView> m_secondSunburstView;
    std::shared_ptr<ui::View> m_completedProblemView;
    bool m_showingCompleted = false;
    bool m_switchToMaster = false;
    bool m_finishedMaster = false;
    // The problem being played has been counted: playing it again (after Undo, Restart or help) never
    // counts it a second time.
    bool m_problemCounted = false;
    // Bumped whenever a celebration is taken away; each celebration's stages carry the value they
    // started with.
    uint64_t m_completionGeneration = 0;
};

} // namespace zm
