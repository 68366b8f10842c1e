#include "shell/container/ContainerViewController.h"

#include "platform/core/Localization.h"
#include "platform/core/Log.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/View.h"
#include "shell/container/BackgroundView.h"
#include "shell/container/BubbleView.h"
#include "shell/screens/HomeScreen.h"
#include "shell/screens/ScreenFactory.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

namespace zm {

namespace {

constexpr std::string_view kSeenIntroKey = "seenIntro";

} // namespace

std::shared_ptr<ContainerViewController> ContainerViewController::create() {
    std::shared_ptr<ContainerViewController> container(new ContainerViewController);
    container->setNibName("ContainerViewController");
    return container;
}

ContainerViewController::ContainerViewController() = default;
ContainerViewController::~ContainerViewController() = default;

void ContainerViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("glkView", m_glkView);
    ViewController::connectOutlets(outlets);
}

std::shared_ptr<HomeScreen> ContainerViewController::makeHomeScreen() {
    std::shared_ptr<HomeScreen> home = spawnFromStoryboard<HomeScreen>("HomeStoryboard");
    if (home)
        home->setContainerVC(std::static_pointer_cast<ContainerViewController>(shared_from_this()));
    return home;
}

void ContainerViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    const std::shared_ptr<ui::View>& containerView = view();
    core::UserDefaults& defaults = core::UserDefaults::standard();

    std::shared_ptr<HomeScreen> home = makeHomeScreen();
    if (home)
        addChildViewController(home);

    const std::optional<std::string> lastTopic = defaults.stringForKey(AlgebraTopicState);
    if (home)
        home->setStartingTopic(Topic(lastTopic.value_or("")));
    const std::vector<Topic>& topics = TopicStatsDataController::sharedInstance().topics();
    size_t index = 0;
    for (size_t i = 0; i < topics.size(); ++i) {
        if (lastTopic && topics[i].topicID() == *lastTopic)
            index = i;
    }
    m_perc = double(index) / double(topics.size() + 1);

    if (home) {
        m_mainVC = home;
        home->view()->setFrame(screenFrame());
        containerView->addSubview(home->view());
        home->didMoveToParentViewController(this);
    }

    setupBackground();

    const core::Size size = containerView->bounds().size;
    m_bubbleView = BubbleView::create({0, 0, size.width * (1 + parallaxShare()), size.height});
    containerView->addSubview(m_bubbleView);

    // In front of the bubbles.
    if (home)
        containerView->addSubview(home->view());
}

void ContainerViewController::viewDidLayoutSubviews() {
    ViewController::viewDidLayoutSubviews();
    if (m_mainVC)
        m_mainVC->view()->setFrame(screenFrame());
    // -1 never matches a position, so the background is drawn again for the same one.
    const double perc = m_perc;
    m_perc = -1;
    setColorPerc(float(perc));
}

bool ContainerViewController::shouldShowIntro() const {
    if (core::UserDefaults::standard().boolForKey(kSeenIntroKey))
        return false;
    const std::vector<std::string>& languages = core::Localization::main().preferredLanguages();
    return !languages.empty() && languages.front() == "en";
}

void ContainerViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    // Hides the home screen before anything is drawn, the tutorial comes over it.
    if (shouldShowIntro() && m_mainVC)
        m_mainVC->view()->setAlpha(0);
}

void ContainerViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (!shouldShowIntro())
        return;
    std::shared_ptr<TopicViewController> intro = spawnFromStoryboard<TopicViewController>("IntroStoryboard");
    if (!intro) {
        // Without a tutorial to show, the home screen must not stay hidden, and the tutorial is still
        // owed to the player.
        if (m_mainVC)
            m_mainVC->view()->setAlpha(1);
        return;
    }
    core::UserDefaults& defaults = core::UserDefaults::standard();
    defaults.setBool(true, kSeenIntroKey);
    defaults.synchronize();
    // The home screen made at load stays a child, transparent underneath, for the rest of the run.
    intro->setContainerVC(std::static_pointer_cast<ContainerViewController>(shared_from_this()));
    m_mainVC = intro;
    addChildViewController(intro);
    intro->view()->setFrame(screenFrame());
    view()->addSubview(intro->view());
    intro->didMoveToParentViewController(this);
}

core::Rect ContainerViewController::screenFrame() {
    if (const std::shared_ptr<BackgroundView> background = glkView())
        return background->frame();
    return view()->bounds();
}

core::Point ContainerViewController::screenCenter() {
    const core::Rect frame = screenFrame();
    return {frame.midX(), frame.midY()};
}

} // namespace zm
