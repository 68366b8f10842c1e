// The topic playground screen's completion: counting a solved problem, the celebration, the move to
// the next problem and the mastery panel.

#include "framework/Source/PixStillBlur.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Localization.h"
#include "platform/core/Log.h"
#include "platform/core/OperationQueue.h"
#include "platform/core/UserDefaults.h"
#include "platform/gfx/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "shell/completion/ProgressionRule.h"
#include "shell/completion/SunburstView.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <cmath>

namespace zm {

namespace {

// The glow: the snapshot blurred with samples three pixels apart and raised to white, alpha kept.
constexpr float kGlowBlurSize = 3.0f;
constexpr float kGlowBrightness = 1.0f;

// The sunbursts' seconds per turn, unless the settings say otherwise, and the second one's faintness.
constexpr float kClockwiseSpeed = 12.0f;
constexpr float kCounterClockwiseSpeed = 24.0f;
constexpr float kSecondSunburstAlpha = 0.025f;

// "Next Problem" fades to a quarter and back, half a second each way.
constexpr float kPulseAlpha = 0.25f;
constexpr double kPulseDuration = 0.5;

// The next problem: one second, in three keyframes (shares of the second, and of the screen's height).
constexpr double kNextProblemDuration = 1.0;
constexpr float kShrunkScale = 0.3f;

constexpr double kMasteryFadeDuration = 0.5;

float storedSpeed(std::string_view key, float fallback) {
    const core::UserDefaults& defaults = core::UserDefaults::standard();
    return defaults.objectForKey(key) ? defaults.floatForKey(key) : fallback;
}

// The glow of a picture of the playground, and where it lies in that picture, in its pixels. Only the
// part round what is drawn is blurred: the blur of transparent pixels is transparent, and a margin as
// wide as the blur reaches keeps every sample that falls past the part's edge on transparent pixels, as
// the whole picture gives them. The road and the picture kept on screen are then the size of the
// expression, not of the screen. Empty when there is nothing to glow.
struct Glow {
    std::shared_ptr<const gfx::Image> image;
    core::Rect pixelRect;
};

Glow glowOf(const gfx::Image& snapshot) {
    const core::Rect painted = snapshot.bitmap().paintedBounds();
    if (painted.isEmpty())
        return {};
    const float reach = std::ceil(4 * kGlowBlurSize) + 1;
    const core::Rect area =
        painted.insetBy(-reach, -reach)
            .intersected({0, 0, float(snapshot.pixelWidth()), float(snapshot.pixelHeight())});
    const std::shared_ptr<const gfx::Image> part = snapshot.cropped(area);
    if (!part)
        return {};
    return {blurStillImage(*part, kGlowBlurSize, kGlowBrightness), area};
}

void addSubviews(ui::View& into, std::initializer_list<std::shared_ptr<ui::View>> views) {
    for (const std::shared_ptr<ui::View>& each : views) {
        if (each)
            into.addSubview(each);
    }
}

} // namespace

bool PlaygroundViewController::isComplete() const {
    if (!topic() || !m_playgroundView || !m_playgroundView->mainPlayground())
        return false;
    const ExprPtr& expr = m_playgroundView->mainPlayground()->mainExpr();
    return expr && topic()->problemComplete(*expr);
}

void PlaygroundViewController::checkComplete() {
    if (!isComplete())
        return;
    // A term still being dragged: the test comes again when its animations end.
    if (m_playgroundView->activeAgent())
        return;
    if (m_showingCompleted)
        return;
    m_showingCompleted = true;
    m_playgroundView->disableTouchInput();
    if (const std::shared_ptr<ui::Button> help = helpButton())
        help->setEnabled(false);
    // A move to master still waiting for its new problem stays: it was earned by a counted problem.
    m_finishedMaster = false;
    if (!isHelpVisible())
        updateProgression();
    hideHelp();
    prettyCompletionEffect();
}

void PlaygroundViewController::updateProgression() {
    const std::shared_ptr<TopicProgressionView> progression = progressionView();
    if (!topic() || !progression || !progression->inProgress())
        return;
    TopicStatsDataController& store = TopicStatsDataController::sharedInstance();
    const std::string& topicID = topic()->topicID();
    const std::string difficulty = store.difficultyForTopic(topicID);
    const ProblemCounts before{
        .noviceNeeded = TopicStatsDataController::numProblemsForTopic(topicID, AlgebraDifficultyNovice),
        .masterNeeded = TopicStatsDataController::numProblemsForTopic(topicID, AlgebraDifficultyMaster),
        .noviceSolved = store.totalCompletedForTopic(topicID, AlgebraDifficultyNovice),
        .masterSolved = store.totalCompletedForTopic(topicID, AlgebraDifficultyMaster),
    };
    const ProgressionStep step = progressionForSolvedProblem(difficulty, before);
    m_switchToMaster = m_switchToMaster || step.switchToMaster;
    m_finishedMaster = step.finishedMaster;
    store.problemCompletedForTopic(topicID);
    m_problemCounted = true;
    progression->setInProgress(false);
    progression->updateViews();
}

void PlaygroundViewController::prettyCompletionEffect() {
    const uint64_t generation = m_completionGeneration;
    const std::weak_ptr<PlaygroundViewController> weakSelf = self();
    // The picture is taken once the event that solved the problem has been handled.
    core::DispatchQueue::main()->async([weakSelf, generation] {
        const std::shared_ptr<PlaygroundViewController> screen = weakSelf.lock();
        if (!screen || screen->m_completionGeneration != generation || !screen->m_playgroundView)
            return;
        const std::shared_ptr<const gfx::Image> snapshot = ui::snapshotImage(*screen->m_playgroundView);
        // The blur runs off the main thread and touches nothing of the screen's; the queue lives as
        // long as its operation.
        auto blurQueue = std::make_shared<core::OperationQueue>();
        blurQueue->addOperation([weakSelf, generation, snapshot] {
            Glow glow = snapshot ? glowOf(*snapshot) : Glow{};
            if (!glow.image)
                core::log(core::LogLevel::Warning,
                          "completion: no glow (no picture of the playground, or nothing drawn on it)");
            core::OperationQueue::main()->addOperation([weakSelf, generation, glow = std::move(glow)] {
                const std::shared_ptr<PlaygroundViewController> screen = weakSelf.lock();
                // Undo, Restart or a new problem took this celebration away meanwhile.
                if (screen && screen->m_completionGeneration == generation)
                    screen->showCompletion(glow.image, glow.pixelRect);
            });
        });
    });
}

void PlaygroundViewController::showCompletion(const std::shared_ptr<const gfx::Image>& glow,
                                              const core::Rect& glowPixels) {
    const std::shared_ptr<ui::View>& screen = view();
    const core::Rect bounds = screen->bounds();

    auto glowView = ui::ImageView::create();
    if (glow) {
        // Over the part of the playground it was drawn from.
        const float scale = ui::Device::current().scale;
        const core::Rect playground = m_playgroundView ? m_playgroundView->frame() : bounds;
        glowView->setFrame({playground.minX() + glowPixels.minX() / scale,
                            playground.minY() + glowPixels.minY() / scale, glowPixels.width() / scale,
                            glowPixels.height() / scale});
        glowView->setImage(glow);
    }

    m_firstSunburstView = SunburstView::create(bounds);
    m_secondSunburstView = SunburstView::create(bounds);
    m_secondSunburstView->setReverseDirection(true);
    m_secondSunburstView->setStartAlpha(kSecondSunburstAlpha);
    m_firstSunburstView->setSpeed(storedSpeed("clockwiseSpeed", kClockwiseSpeed));
    m_secondSunburstView->setSpeed(storedSpeed("counterClockwiseSpeed", kCounterClockwiseSpeed));
    m_firstSunburstView->spin();
    m_secondSunburstView->spin();

    m_completedProblemView = ui::View::create(bounds);
    m_completedProblemView->setUserInteractionEnabled(false);
    screen->addSubview(m_completedProblemView);
    auto sunbursts = ui::View::create(bounds);
    sunbursts->setUserInteractionEnabled(false);
    addSubviews(*sunbursts, {m_firstSunburstView, m_secondSunburstView});
    addSubviews(*m_completedProblemView, {sunbursts, glowView});
    addSubviews(*screen, {progressionView(), m_topRightView, m_topLeftView});
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->pushBubbles();

    if (m_finishedMaster) {
        showMastery();
        return;
    }
    showCompletionBanner();
}

void PlaygroundViewController::showCompletionBanner() {
    if (m_completionBannerView)
        view()->addSubview(m_completionBannerView);
    const std::shared_ptr<ui::Button> button = genProblemButton();
    if (!button)
        return;
    button->setAlpha(1);
    // A topic with both difficulties done has no next problem to go to, only new ones.
    const bool allDone =
        topic() && TopicStatsDataController::sharedInstance().topicTotallyCompleted(topic()->topicID());
    if (!allDone)
        ui::performWithoutAnimation([&] { button->setTitle(core::localized("Next Problem")); });
    ui::AnimationParameters pulse;
    pulse.duration = kPulseDuration;
    pulse.options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::Repeat |
                    ui::AnimationOptions::Autoreverse;
    ui::animate(pulse, [&] { button->setAlpha(kPulseAlpha); });
}

void PlaygroundViewController::resetNewProblemButton() {
    if (const std::shared_ptr<ui::Button> button = genProblemButton()) {
        button->setTitle(core::localized("New Problem"));
        // Stops the pulse of a solved problem's "Next Problem".
        button->layer().removeAllAnimations();
        button->setAlpha(1);
    }
}

void PlaygroundViewController::clearCompletion() {
    dropPendingCompletion();
    if (const std::shared_ptr<ui::Button> help = helpButton())
        help->setEnabled(true);
    if (m_completedProblemView) {
        m_completedProblemView->removeFromSuperview();
        m_completedProblemView = nullptr;
    }
    if (m_completionBannerView)
        m_completionBannerView->removeFromSuperview();
    if (const std::shared_ptr<ui::Button> button = genProblemButton()) {
        button->layer().removeAllAnimations();
        button->setAlpha(1);
    }
    m_showingCompleted = false;
}

void PlaygroundViewController::animateToNextProblem() {
    if (!m_playgroundView)
        return;
    const float height = view()->bounds().height();
    const std::shared_ptr<PlaygroundView> incoming = m_playgroundView;
    const std::shared_ptr<ui::View> solved = m_completedProblemView;
    // The new problem waits one screen height below its place.
    incoming->setTransform(incoming->transform().translated(0, height));

    // Each keyframe builds on the transform the previous one left; a translation lies inside the scale.
    const auto move = [](ui::View* view, auto change) {
        if (view)
            view->setTransform(change(view->transform()));
    };
    ui::animateKeyframes(
        {.duration = kNextProblemDuration}, ui::KeyframeCurve::Cubic,
        [&] {
            ui::addKeyframe(0.0, 0.4, [&] {
                move(solved.get(), [&](const core::AffineTransform& t) {
                    return t.translated(0, -0.2f * height).scaled(kShrunkScale, kShrunkScale);
                });
                move(incoming.get(), [&](const core::AffineTransform& t) {
                    return t.translated(0, -0.8f * height).scaled(kShrunkScale, kShrunkScale);
                });
            });
            ui::addKeyframe(0.4, 0.2, [&] {
                const auto rise = [&](const core::AffineTransform& t) {
                    return t.translated(0, -0.2f * height);
                };
                move(solved.get(), rise);
                move(incoming.get(), rise);
            });
            ui::addKeyframe(0.6, 0.4, [&] {
                move(solved.get(), [&](const core::AffineTransform&) {
                    return core::AffineTransform::makeTranslation(0, -height);
                });
                move(incoming.get(),
                     [](const core::AffineTransform&) { return core::AffineTransform::identity(); });
            });
        },
        [weakSelf = std::weak_ptr<PlaygroundViewController>(self()), solved](bool) {
            if (solved) {
                solved->removeFromSuperview();
                while (!solved->subviews().empty())
                    solved->subviews().back()->removeFromSuperview();
            }
            const std::shared_ptr<PlaygroundViewController> screen = weakSelf.lock();
            if (!screen)
                return;
            if (screen->m_completedProblemView == solved)
                screen->m_completedProblemView = nullptr;
            if (screen->m_switchToMaster)
                screen->finishSwitchToMaster();
        });
}

void PlaygroundViewController::applySwitchToMaster() {
    if (!m_switchToMaster || !topic())
        return;
    TopicStatsDataController::sharedInstance().selectDifficulty(AlgebraDifficultyMaster, topic()->topicID());
    if (const std::shared_ptr<TopicProgressionView> progression = progressionView())
        progression->updateViews();
}

void PlaygroundViewController::finishSwitchToMaster() {
    m_switchToMaster = false;
    if (!topic() || !topic()->helpTextRound2())
        return;
    // The master difficulty's help opens by itself, once the current event is handled.
    core::DispatchQueue::main()->async([weakSelf = std::weak_ptr<PlaygroundViewController>(self())] {
        const std::shared_ptr<PlaygroundViewController> screen = weakSelf.lock();
        // Help the player opened meanwhile stays open.
        if (screen && !screen->isHelpVisible())
            screen->hitHelp();
    });
}

std::shared_ptr<ui::ImageView> PlaygroundViewController::bigBlurBackground() {
    std::shared_ptr<ui::ImageView> background = ui::ImageView::create(view()->bounds());
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        background->setImage(container->bigBlurBackgroundImage());
    return background;
}

void PlaygroundViewController::showMastery() {
    if (!m_masteryView)
        return;
    const std::shared_ptr<ui::View>& screen = view();
    m_masteryView->setFrame(screen->bounds());
    addSubviews(*m_masteryView,
                {bigBlurBackground(), m_completedProblemView, m_playgroundView, m_practiceMoreButton});
    if (topic()) {
        if (const Topic* next = TopicStatsDataController::sharedInstance().topicAfterTopic(*topic());
            next && m_nextTopicButton)
            m_nextTopicButton->setTitle(core::localizedFillingIn("Go to %@", next->name()));
        if (m_masteryTopicLabel)
            m_masteryTopicLabel->setText(core::localizedFillingIn("%@ Mastered", topic()->name()));
    }
    addSubviews(*m_masteryView, {m_nextTopicButton, m_masteryTopicLabel, m_masteryLabel});
    m_masteryView->setAlpha(0);
    screen->addSubview(m_masteryView);
    ui::animate({.duration = kMasteryFadeDuration}, [&] { m_masteryView->setAlpha(1); });
}

void PlaygroundViewController::hideMastery() {
    if (m_masteryView)
        m_masteryView->removeFromSuperview();
}

void PlaygroundViewController::hitContinue() {
    if (m_playgroundView && m_playgroundView->executor())
        m_playgroundView->executor()->cancelAnimations();
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->goHomeAndScrollToNext(true);
}

void PlaygroundViewController::hitStayHere() {
    m_showingCompleted = true;
    // Out of the mastery panel, back into the screen, the bars on top.
    addSubviews(*view(), {m_completedProblemView, m_playgroundView, m_topRightView, m_topLeftView,
                          std::shared_ptr<ui::View>(progressionView())});
    hitRandom();
}

} // namespace zm
