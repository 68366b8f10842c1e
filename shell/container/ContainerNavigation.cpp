#include "platform/core/Log.h"
#include "platform/core/MainLoop.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/View.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/BackgroundView.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/HomeScreen.h"
#include "shell/topics/TopicIdentifiers.h"

#include <optional>
#include <string>

namespace zm {

namespace {

core::AffineTransform scale(float factor) {
    return core::AffineTransform::makeScale(factor, factor);
}

// A point q of the view (from its centre) goes to factor x q + shift.
core::AffineTransform scaleThenShift(float factor, core::Point shift) {
    return {factor, 0, 0, factor, shift.x, shift.y};
}

// A snapshot growing past the screen's edges keeps only what shows of it, whenever that has become half of
// what it holds or less: a zoom into a screen then does not hold the old screen's whole picture while the
// new screen's grows to full size. Each cut copies what it keeps, early in the zoom while the new screen's
// picture is small. Answers the frame handler that does it, removed when the transition ends.
core::MainLoop::FrameHandlerId keepOnlyWhatShows(const std::shared_ptr<ui::SnapshotView>& snapshot,
                                                 const ui::View& screen) {
    return core::MainLoop::current().addFrameHandler(
        core::FramePhase::Animation,
        [weakSnapshot = std::weak_ptr<ui::SnapshotView>(snapshot), area = screen.bounds()](core::TimePoint) {
            const std::shared_ptr<ui::SnapshotView> shown = weakSnapshot.lock();
            if (!shown || !shown->layer().contents())
                return;
            const ui::LayerState state = shown->layer().presentation();
            const core::Rect showing = state.toSuperlayer().inverted().apply(area).intersected(state.bounds);
            if (showing.width() * showing.height() <= state.bounds.width() * state.bounds.height() / 2)
                shown->keepOnly(showing);
        });
}

} // namespace

bool ContainerViewController::mayNavigate(const char* request) const {
    if (m_transitioning) {
        core::log(core::LogLevel::Info, std::string(request) + " ignored: a transition is running");
        return false;
    }
    if (!m_mainVC) {
        core::log(core::LogLevel::Error, std::string(request) + " ignored: no screen is shown");
        return false;
    }
    return true;
}

void ContainerViewController::transition(std::shared_ptr<TopicViewController> incoming, Transition how) {
    const std::shared_ptr<TopicViewController> outgoing = m_mainVC;
    const auto self = std::static_pointer_cast<ContainerViewController>(shared_from_this());
    incoming->setContainerVC(self);
    outgoing->willMoveToParentViewController(nullptr);
    addChildViewController(incoming);

    const std::shared_ptr<ui::View> incomingView = incoming->view();
    incomingView->setFrame(screenFrame());
    how.start(*incomingView);

    // The snapshot stands in for the outgoing screen while it leaves.
    const std::shared_ptr<ui::SnapshotView> snapshot = ui::SnapshotView::create(*outgoing->view());
    view()->addSubview(snapshot);
    outgoing->view()->setAlpha(0);
    const std::optional<core::MainLoop::FrameHandlerId> trimming =
        how.snapshotOnlyGrows ? std::optional(keepOnlyWhatShows(snapshot, *view())) : std::nullopt;

    m_transitioning = true;
    const std::weak_ptr<ContainerViewController> weakSelf = self;
    ViewController::transition(
        outgoing, incoming, how.duration, ui::AnimationOptions::None,
        [&] { how.end(*incomingView, *snapshot); },
        [weakSelf, incoming, snapshot, trimming, endsOpaque = how.endsOpaque,
         after = std::move(how.after)](bool) {
            if (trimming)
                core::MainLoop::current().removeFrameHandler(*trimming);
            snapshot->removeFromSuperview();
            if (endsOpaque)
                incoming->view()->setAlpha(1);
            const std::shared_ptr<ContainerViewController> container = weakSelf.lock();
            if (!container)
                return;
            // The outgoing screen is still the current one until here.
            if (container->m_mainVC)
                container->m_mainVC->removeFromParentViewController();
            incoming->didMoveToParentViewController(container.get());
            container->m_mainVC = incoming;
            container->m_transitioning = false;
            if (after)
                after();
        });
}

ContainerViewController::Transition ContainerViewController::zoomInto(core::Point start, core::Point middle,
                                                                      core::Point opposite) {
    Transition zoom;
    zoom.snapshotOnlyGrows = true;
    zoom.start = [start](ui::View& incoming) {
        incoming.setAlpha(0);
        incoming.setTransform(scale(0.1f));
        incoming.setCenter(start);
    };
    zoom.end = [middle, opposite](ui::View& incoming, ui::View& snapshot) {
        incoming.setAlpha(1);
        incoming.setTransform({});
        incoming.setCenter(middle);
        snapshot.setCenter(opposite);
        snapshot.setTransform(scale(10));
        snapshot.setAlpha(0);
    };
    return zoom;
}

ContainerViewController::Transition ContainerViewController::slideFrom(float side) {
    const core::Rect frame = screenFrame();
    const float shift = frame.width() * side;
    Transition slide;
    slide.endsOpaque = false;
    slide.start = [frame, shift](ui::View& incoming) { incoming.setFrame(frame.offsetBy(shift, 0)); };
    slide.end = [frame, shift](ui::View& incoming, ui::View& snapshot) {
        incoming.setFrame(frame);
        snapshot.setFrame(snapshot.frame().offsetBy(-shift, 0));
        snapshot.setAlpha(0);
    };
    return slide;
}

std::shared_ptr<HomeScreen> ContainerViewController::makeReturningHome() {
    std::shared_ptr<HomeScreen> home = makeHomeScreen();
    if (home)
        home->setCurrentTopic(m_mainVC->topic());
    return home;
}

void ContainerViewController::goToTopic(const Topic& topic) {
    // The home screen may send this late, from delayed work: only a home screen at rest may leave.
    const std::shared_ptr<HomeScreen> home = std::dynamic_pointer_cast<HomeScreen>(m_mainVC);
    if (!mayNavigate("goToTopic"))
        return;
    if (!home) {
        core::log(core::LogLevel::Info, "goToTopic ignored: the home screen is not shown");
        return;
    }

    core::UserDefaults& defaults = core::UserDefaults::standard();
    defaults.setObject(topic.topicID(), AlgebraTopicState);
    defaults.synchronize();

    std::shared_ptr<TopicViewController> screen = TopicViewController::spawnFromStoryboardWithTopic(topic);
    if (!screen)
        return;
    screen->setContainerVC(std::static_pointer_cast<ContainerViewController>(shared_from_this()));
    if (topic.topicID() == AlgebraTopicCustom) {
        if (AppDelegate* application = AppDelegate::shared()) {
            application->loadProblems();
            if (const std::shared_ptr<ProblemSetStore>& store = application->dataController())
                store->setListener(screen);
        }
    }

    m_perc = home->calculatePerc();
    const core::Rect card = home->playgroundRectForTopic(topic);
    const core::Point middle = screenCenter();
    const core::Point start = card.isNull() ? middle : core::Point{card.midX(), card.midY()};
    // Mirrored about the middle at ten times the distance, at the middle's height: ten times larger
    // there, the home screen shows the card in the middle.
    m_oppositeCenter = {middle.x - 10 * (start.x - middle.x), middle.y};
    transition(std::move(screen), zoomInto(start, middle, m_oppositeCenter));
}

void ContainerViewController::zoomIntoTopicVC(std::shared_ptr<TopicViewController> screen) {
    if (!screen || !mayNavigate("zoomIntoTopicVC"))
        return;
    const core::Point middle = screenCenter();
    core::Point start = middle;
    if (screen->growsFromLowerRightCorner()) {
        const core::Size size = view()->bounds().size;
        start = {size.width - 20, size.height - 20};
    }
    m_oppositeCenter = {middle.x - 10 * (start.x - middle.x), middle.y - 10 * (start.y - middle.y)};
    transition(std::move(screen), zoomInto(start, middle, m_oppositeCenter));
}

void ContainerViewController::zoomOutToTopicVC(std::shared_ptr<TopicViewController> screen) {
    if (!screen || !mayNavigate("zoomOutToTopicVC"))
        return;
    Transition zoom;
    zoom.start = [](ui::View& incoming) {
        incoming.setAlpha(0);
        incoming.setTransform(scale(10));
    };
    zoom.end = [](ui::View& incoming, ui::View& snapshot) {
        incoming.setTransform({});
        incoming.setAlpha(1);
        snapshot.setTransform(scale(0.1f));
        snapshot.setAlpha(0);
    };
    transition(std::move(screen), std::move(zoom));
}

void ContainerViewController::goHome() {
    goHomeAndScrollToNext(false);
}

void ContainerViewController::goHomeAndScrollToNext(bool scrollToNext) {
    if (!mayNavigate("goHomeAndScrollToNext"))
        return;
    std::shared_ptr<HomeScreen> home = makeReturningHome();
    if (!home)
        return;
    // The reverse of the zoom into the screen: the home screen comes back from where the zoom sent it.
    const core::Point shift = m_oppositeCenter;
    Transition zoom;
    zoom.start = [shift](ui::View& incoming) {
        incoming.setAlpha(0);
        incoming.setTransform(scaleThenShift(10, shift));
    };
    zoom.end = [shift](ui::View& incoming, ui::View& snapshot) {
        incoming.setTransform({});
        incoming.setAlpha(1);
        snapshot.setTransform(scaleThenShift(0.1f, {-shift.x / 10, -shift.y / 10}));
        snapshot.setAlpha(0);
    };
    if (scrollToNext)
        zoom.after = [home] { home->animateToNextTopic(); };
    transition(std::move(home), std::move(zoom));
}

void ContainerViewController::pushTopicVC(std::shared_ptr<TopicViewController> screen) {
    if (screen && mayNavigate("pushTopicVC"))
        transition(std::move(screen), slideFrom(1));
}

void ContainerViewController::popToTopicVC(std::shared_ptr<TopicViewController> screen) {
    if (screen && mayNavigate("popToTopicVC"))
        transition(std::move(screen), slideFrom(-1));
}

void ContainerViewController::fadeToHome() {
    if (!mayNavigate("fadeToHome"))
        return;
    std::shared_ptr<HomeScreen> home = makeReturningHome();
    if (!home)
        return;
    Transition slide;
    slide.duration = kFadeToHomeDuration;
    slide.start = [](ui::View& incoming) {
        incoming.setAlpha(0);
        incoming.setTransform(core::AffineTransform::makeTranslation(incoming.bounds().width(), 0));
    };
    slide.end = [](ui::View& incoming, ui::View& snapshot) {
        incoming.setAlpha(1);
        incoming.setTransform({});
        snapshot.setTransform(core::AffineTransform::makeTranslation(-incoming.bounds().width(), 0));
        snapshot.setAlpha(0);
    };
    transition(std::move(home), std::move(slide));
}

} // namespace zm
