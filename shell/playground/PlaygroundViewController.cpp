#include "shell/playground/PlaygroundViewController.h"

#include "platform/core/Localization.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/views/GenericView.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/HistoryManager.h"
#include "shell/topics/TopicStatsDataController.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

// The playground area: where it starts, how wide and how high it is with help closed.
struct PlaygroundArea {
    core::Point origin;
    float height;
};
constexpr PlaygroundArea kPhoneArea{{0, 40}, 240};
constexpr PlaygroundArea kTabletArea{{0, 100}, 568};
constexpr float kTabletAreaWidth = 1024;
// On a tablet the open help panel takes this much less from the area than its height.
constexpr float kTabletHelpOverlap = 100;

// The top-right bar's buttons: the gap between them (and after the last), their top and height.
struct TopRightBar {
    float gap;
    float buttonY;
    float buttonHeight;
};
constexpr TopRightBar kPhoneBar{16, 25, 35};
constexpr TopRightBar kTabletBar{24, 13, 75};

// The keyboard panel's height, and how long it takes to rise.
constexpr float kPhoneKeyboardHeight = 129;
constexpr float kTabletKeyboardHeight = 214;
constexpr double kKeyboardSlideDuration = 0.375;

constexpr float kNewProblemMinimumScale = 0.4f;
constexpr float kHomeMinimumScale = 0.5f;
constexpr float kMasteryButtonMinimumScale = 0.5f;

bool isTablet() {
    return ui::Device::current().isTablet();
}

// A title's width in the button's font, raised to a whole point.
float titleWidth(const ui::Button& button, std::string_view title) {
    return std::ceil(gfx::measureText(title, button.titleLabel().font()).width);
}

void fitTitleToWidth(ui::Button* button, float minimumScale) {
    if (!button)
        return;
    button->titleLabel().setAdjustsFontSizeToFitWidth(true);
    button->titleLabel().setMinimumScaleFactor(minimumScale);
}

} // namespace

std::shared_ptr<PlaygroundViewController> PlaygroundViewController::create() {
    return std::shared_ptr<PlaygroundViewController>(new PlaygroundViewController);
}

PlaygroundViewController::PlaygroundViewController() = default;
PlaygroundViewController::~PlaygroundViewController() = default;

std::shared_ptr<PlaygroundViewController> PlaygroundViewController::self() {
    return std::static_pointer_cast<PlaygroundViewController>(shared_from_this());
}

void PlaygroundViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("playgroundView", m_playgroundView);
    outlets.strong("topRightView", m_topRightView);
    outlets.strong("topLeftView", m_topLeftView);
    outlets.weak("progressionView", m_progressionView);
    outlets.weak("restartButton", m_restartButton);
    outlets.weak("undoButton", m_undoButton);
    outlets.weak("helpButton", m_helpButton);
    outlets.weak("genProblemButton", m_genProblemButton);
    outlets.weak("homeButton", m_homeButton);
    outlets.strong("masteryView", m_masteryView);
    outlets.strong("helpView", m_helpView);
    outlets.strong("topicNameLabel", m_topicNameLabel);
    outlets.strong("topicHelpTextLabel", m_topicHelpTextLabel);
    outlets.strong("completionBannerView", m_completionBannerView);
    outlets.strong("nextTopicButton", m_nextTopicButton);
    outlets.strong("practiceMoreButton", m_practiceMoreButton);
    outlets.strong("masteryTopicLabel", m_masteryTopicLabel);
    outlets.strong("masteryLabel", m_masteryLabel);
    TopicViewController::connectOutlets(outlets);
}

std::function<void()> PlaygroundViewController::actionNamed(std::string_view name) {
    if (name == "hitRandom:")
        return [this] { hitRandom(); };
    if (name == "hitUndo:")
        return [this] { hitUndo(); };
    if (name == "hitRestart:")
        return [this] { hitRestart(); };
    if (name == "hitHome:")
        return [this] { hitHome(); };
    if (name == "hitHelp:")
        return [this] { hitHelp(); };
    if (name == "hitContinue:")
        return [this] { hitContinue(); };
    if (name == "hitStayHere:")
        return [this] { hitStayHere(); };
    return TopicViewController::actionNamed(name);
}

void PlaygroundViewController::viewDidLoad() {
    TopicViewController::viewDidLoad();
    m_showingCompleted = false;
    m_historyManager = std::make_unique<HistoryManager>(m_playgroundView, m_undoButton, m_restartButton);
    if (m_playgroundView) {
        m_playgroundView->setSpacingRect(makeSpacingRect());
        m_playgroundView->setPlayDelegate(self());
        // The veil and the highlights take the background's tint of this moment.
        if (const std::shared_ptr<ContainerViewController> container = containerVC())
            m_playgroundView->setVeilColor(container->getPixelColor());
        m_playgroundView->setContainerInputDelegate(self());
        core::HSBA tint = m_playgroundView->veilColor().hsba();
        m_playgroundView->setHighlightColor(core::Color::fromHSB({tint.hue, 1, 1, 1}));
    }
    if (m_completionBannerView)
        m_completionBannerView->removeFromSuperview();
    const std::shared_ptr<ui::View>& screen = view();
    for (std::shared_ptr<ui::View> part : {std::shared_ptr<ui::View>(m_playgroundView), m_topRightView,
                                           m_topLeftView, std::shared_ptr<ui::View>(progressionView())}) {
        if (part)
            screen->addSubview(std::move(part));
    }
    fitTitleToWidth(genProblemButton().get(), kNewProblemMinimumScale);
    if (m_practiceMoreButton)
        m_practiceMoreButton->setTitle(core::localized("Practice More"));
    if (const std::shared_ptr<ui::Button> home = homeButton()) {
        home->setTitle(core::localized("Topics"));
        fitTitleToWidth(home.get(), kHomeMinimumScale);
    }
    finishViewDidLoad();
}

void PlaygroundViewController::finishViewDidLoad() {
    if (const std::shared_ptr<TopicProgressionView> progression = progressionView()) {
        if (topic())
            progression->setTopicID(topic()->topicID());
        progression->setDelegate(self());
    }
    fitTitleToWidth(m_practiceMoreButton.get(), kMasteryButtonMinimumScale);
    fitTitleToWidth(m_nextTopicButton.get(), kMasteryButtonMinimumScale);
    layoutTopRightBar();
    hitRandom();
}

void PlaygroundViewController::layoutTopRightBar() {
    const std::shared_ptr<ui::Button> undo = undoButton();
    const std::shared_ptr<ui::Button> restart = restartButton();
    const std::shared_ptr<ui::Button> help = helpButton();
    if (!m_topRightView || !undo || !restart || !help)
        return;
    const std::string undoTitle = core::localized("Undo");
    const std::string restartTitle = core::localized("Restart");
    const std::string helpTitle = core::localized("Help");
    const std::string stopTitle = core::localized("Stop");
    const float undoWidth = titleWidth(*undo, undoTitle);
    const float restartWidth = titleWidth(*restart, restartTitle);
    // The Help button keeps its size when it turns into Stop.
    const float helpWidth = std::max(titleWidth(*help, helpTitle), titleWidth(*help, stopTitle));

    const TopRightBar bar = isTablet() ? kTabletBar : kPhoneBar;
    const float barWidth = 3 * bar.gap + undoWidth + restartWidth + helpWidth;
    m_topRightView->setFrame(
        {view()->bounds().width() - barWidth, 0, barWidth, m_topRightView->frame().height()});
    undo->setFrame({0, bar.buttonY, undoWidth, bar.buttonHeight});
    restart->setFrame({viewPointAtPosition(*undo, AnchorMiddleRight).x + bar.gap, bar.buttonY, restartWidth,
                       bar.buttonHeight});
    help->setFrame({viewPointAtPosition(*restart, AnchorMiddleRight).x + bar.gap, bar.buttonY, helpWidth,
                    bar.buttonHeight});
    undo->setTitle(undoTitle);
    restart->setTitle(restartTitle);
    help->setTitle(helpTitle);
}

void PlaygroundViewController::viewDidAppear(bool) {
    // Asking marks the topic viewed: help opens on the first visit only, also across launches.
    if (topic() && TopicStatsDataController::sharedInstance().topicTotallyFresh(topic()->topicID()))
        hitHelp();
}

void PlaygroundViewController::viewDidLayoutSubviews() {
    if (m_playgroundView)
        m_playgroundView->setSpacingRect(makeSpacingRect());
    if (const std::shared_ptr<TopicProgressionView> progression = progressionView())
        progression->organizeBottom(view()->bounds().width());
    // A solved problem stays where it is.
    if (!isComplete())
        refitExpression();
}

void PlaygroundViewController::refitExpression() {
    if (!m_playgroundView)
        return;
    m_playgroundView->resetPivotPoint();
    if (const std::shared_ptr<PlaygroundMain>& main = m_playgroundView->mainPlayground()) {
        main->resizeToFit();
        main->moveToFinalStateAnimated(true);
    }
}

core::Rect PlaygroundViewController::makeSpacingRect() {
    const float helpHeight = isHelpVisible() ? m_helpView->bounds().height() : 0;
    if (isTablet()) {
        const float shortening = isHelpVisible() ? helpHeight - kTabletHelpOverlap : 0;
        return {kTabletArea.origin, {kTabletAreaWidth, kTabletArea.height - shortening}};
    }
    return {kPhoneArea.origin, {view()->bounds().width(), kPhoneArea.height - helpHeight / 2}};
}

void PlaygroundViewController::hitRandom() {
    hideHelp();
    hideMastery();
    if (m_completionBannerView)
        m_completionBannerView->removeFromSuperview();
    if (const std::shared_ptr<ui::Button> help = helpButton())
        help->setEnabled(true);
    // A celebration still on its way would land on the next problem.
    dropPendingCompletion();
    const bool solvedProblemShowing = m_showingCompleted;
    m_showingCompleted = false;
    applySwitchToMaster();
    if (!topic())
        return;
    const ExprPtr problem =
        TopicStatsDataController::sharedInstance().generateProblemForTopic(topic()->topicID());
    if (!problem)
        return;
    m_problemCounted = false;
    if (const std::shared_ptr<TopicProgressionView> progression = progressionView())
        progression->setInProgress(true);
    resetNewProblemButton();
    startProblem(problem);
    if (solvedProblemShowing)
        animateToNextProblem();
    else if (m_switchToMaster)
        finishSwitchToMaster();
}

void PlaygroundViewController::startProblem(ExprPtr problem) {
    m_currentProblem = problem ? problem->copyWithBag(nullptr) : nullptr;
    if (m_playgroundView) {
        m_playgroundView->setNewProblem(problem);
        m_playgroundView->enableTouchInput();
    }
    if (m_historyManager)
        m_historyManager->startedNewProblem(problem);
}

void PlaygroundViewController::hitRestart() {
    clearCompletion();
    // The stored copy itself goes to the playground; a fresh copy is kept in its place.
    startProblem(m_currentProblem);
}

void PlaygroundViewController::hitUndo() {
    clearCompletion();
    if (m_playgroundView)
        m_playgroundView->enableTouchInput();
    if (m_historyManager)
        m_historyManager->undo();
}

void PlaygroundViewController::hitHome() {
    hideHelp();
    // A move to master that no new problem applied yet is kept for the next visit.
    applySwitchToMaster();
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->goHome();
}

void PlaygroundViewController::difficultyChanged() {
    hitRandom();
}

void PlaygroundViewController::addChildInputViewController(
    const std::shared_ptr<ExprInputViewController>& controller) {
    if (m_inputVC || !controller)
        return;
    addChildViewController(controller);
    const std::shared_ptr<ui::View>& screen = view();
    const std::shared_ptr<ui::View>& keyboard = controller->view();
    screen->addSubview(keyboard);
    const float height = isTablet() ? kTabletKeyboardHeight : kPhoneKeyboardHeight;
    const core::Size size = screen->bounds().size;
    keyboard->setFrame({0, size.height, size.width, height});
    ui::animate({.duration = kKeyboardSlideDuration}, [&] {
        keyboard->setFrame({0, size.height - height, size.width, height});
    });
    if (m_playgroundView) {
        m_playgroundView->setFrame({0, 0, size.width, size.height - height});
        refitExpression();
    }
    // The top bars are hidden while typing.
    for (const std::shared_ptr<ui::View>& bar : {m_topRightView, m_topLeftView}) {
        if (bar)
            bar->removeFromSuperview();
    }
    controller->didMoveToParentViewController(this);
    m_inputVC = controller;
}

void PlaygroundViewController::removeChildInputViewController(
    const std::shared_ptr<ExprInputViewController>& controller) {
    // A keyboard that was never attached (a second one, turned away) takes nothing with it.
    if (!controller || controller != m_inputVC)
        return;
    controller->willMoveToParentViewController(nullptr);
    controller->view()->removeFromSuperview();
    controller->removeFromParentViewController();
    const std::shared_ptr<ui::View>& screen = view();
    if (m_playgroundView) {
        m_playgroundView->setFrame(screen->bounds());
        refitExpression();
    }
    for (const std::shared_ptr<ui::View>& bar : {m_topLeftView, m_topRightView}) {
        if (bar)
            screen->addSubview(bar);
    }
    m_inputVC = nullptr;
}

bool PlaygroundViewController::respondsTo(PlaygroundMessage message) const {
    switch (message) {
    case PlaygroundMessage::WillExecuteStep:
    case PlaygroundMessage::ExecutedStep:
    case PlaygroundMessage::DidErrorStep:
    case PlaygroundMessage::PresentedModalPlayground:
    case PlaygroundMessage::DismissedModalPlayground:
    case PlaygroundMessage::DidExponentCombineStep:
    case PlaygroundMessage::AnimationComplete:
    case PlaygroundMessage::TouchBegan:
        return true;
    default:
        return false;
    }
}

void PlaygroundViewController::willExecuteStep(const std::shared_ptr<Step>& step, const ExprPtr& expr) {
    if (m_historyManager)
        m_historyManager->willExecuteStep(step, expr);
}

void PlaygroundViewController::executedStep(const std::shared_ptr<Step>& step) {
    if (!m_historyManager)
        return;
    m_historyManager->executedStep(step);
    // Undo and Restart stay off while the help demonstration plays.
    if (isHelpVisible())
        m_historyManager->disableButtons();
}

void PlaygroundViewController::didErrorStep() {
    if (AppDelegate* application = AppDelegate::shared())
        application->playAlert();
}

void PlaygroundViewController::touchBegan() {
    hideHelp();
}

void PlaygroundViewController::animationComplete() {
    checkComplete();
}

} // namespace zm
