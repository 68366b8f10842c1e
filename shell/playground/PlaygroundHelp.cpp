// The topic playground screen's help: the panel along the bottom and the demonstration it starts.

#include "platform/core/Localization.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/ExecutorRegistry.h"
#include "shell/playground/HistoryManager.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

namespace zm {

namespace {

constexpr double kHelpSlideDuration = 0.5;

} // namespace

bool PlaygroundViewController::isHelpVisible() const {
    return m_helpView && m_helpView->superview();
}

void PlaygroundViewController::hitHelp() {
    if (isHelpVisible()) {
        hideHelp();
        return;
    }
    if (!topic() || !m_helpView || !m_playgroundView)
        return;
    if (m_historyManager)
        m_historyManager->disableButtons();
    if (m_topicNameLabel)
        m_topicNameLabel->setText(topic()->name());
    const std::string difficulty =
        TopicStatsDataController::sharedInstance().difficultyForTopic(topic()->topicID());
    std::string helpText = topic()->helpText();
    if (difficulty == AlgebraDifficultyMaster) {
        if (std::optional<std::string> second = topic()->helpTextRound2())
            helpText = std::move(*second);
    }
    // A new player each time; the one before, stopped, goes with it.
    m_playgroundView->setExecutor(
        makeExecutor(executorClassName(topic()->executorClassForDifficulty(difficulty)), m_playgroundView,
                     helpButton(), view()));
    if (m_topicHelpTextLabel)
        m_topicHelpTextLabel->setText(helpText);

    const std::shared_ptr<ui::View>& screen = view();
    const std::shared_ptr<TopicProgressionView> progression = progressionView();
    for (const std::shared_ptr<ui::View>& part : {std::shared_ptr<ui::View>(m_playgroundView), m_topRightView,
                                                  m_topLeftView, std::shared_ptr<ui::View>(progression)}) {
        if (part)
            screen->addSubview(part);
    }
    if (const std::shared_ptr<AIExecutor>& player = m_playgroundView->executor())
        player->startFindingSteps();
    // The problem no longer counts, unless help is closed before it is solved.
    if (progression)
        progression->setInProgress(false);
    if (const std::shared_ptr<ui::Button> help = helpButton())
        help->setTitle(core::localized("Stop"));

    const core::Size size = screen->bounds().size;
    const float panelHeight = m_helpView->bounds().height();
    screen->addSubview(m_helpView);
    m_helpView->setFrame({0, size.height, size.width, panelHeight});
    for (const std::shared_ptr<ui::View>& part :
         {std::shared_ptr<ui::View>(blurBackgroundBottomPiece()),
          std::shared_ptr<ui::View>(m_topicHelpTextLabel), std::shared_ptr<ui::View>(m_topicNameLabel)}) {
        if (part)
            m_helpView->addSubview(part);
    }
    ui::animate({.duration = kHelpSlideDuration}, [&] {
        m_helpView->setFrame({0, size.height - panelHeight, size.width, panelHeight});
        if (progression)
            progression->setFrame({0, size.height, size.width, progression->frame().height()});
    });
    // The playground area is shorter while the panel shows; the layout pass its arrival brings fits the
    // expression into it.
    m_playgroundView->setSpacingRect(makeSpacingRect());
}

void PlaygroundViewController::hideHelp() {
    if (!isHelpVisible())
        return;
    if (m_playgroundView && m_playgroundView->executor())
        m_playgroundView->executor()->cancelAnimations();
    if (m_historyManager)
        m_historyManager->updateState();
    if (const std::shared_ptr<ui::Button> help = helpButton())
        help->setTitle(core::localized("Help"));

    const core::Size size = view()->bounds().size;
    const float panelHeight = m_helpView->bounds().height();
    const std::shared_ptr<TopicProgressionView> progression = progressionView();
    ui::animate(
        {.duration = kHelpSlideDuration},
        [&] {
            m_helpView->setFrame({0, size.height, size.width, panelHeight});
            if (progression) {
                const core::Rect frame = progression->frame();
                progression->setFrame({0, size.height - frame.height(), frame.width(), frame.height()});
            }
        },
        // Help counts as open until the panel has left; the layout pass that follows gives the expression
        // the full playground area again.
        [panel = m_helpView](bool) { panel->removeFromSuperview(); });
    // A problem stopped before it was solved counts again, unless it has counted already.
    if (progression && !isComplete() && !m_problemCounted)
        progression->setInProgress(true);
    if (m_playgroundView)
        m_playgroundView->setSpacingRect(makeSpacingRect());
}

} // namespace zm
