#include "platform/ui/ViewController.h"

#include "platform/core/Log.h"
#include "platform/ui/AnimationEngine.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

namespace {

constexpr double presentationDuration = 0.3;

// Runs `changes` animated when an animation engine runs, else at once; the completion runs once either
// way (at once without an engine, as nothing else would run it).
void animateOrChange(const AnimationParameters& parameters, const std::function<void()>& changes,
                     std::function<void(bool)> completion) {
    if (AnimationEngine::current()) {
        animate(parameters, changes, std::move(completion));
        return;
    }
    if (changes)
        changes();
    if (completion)
        completion(true);
}

} // namespace

std::shared_ptr<ViewController> ViewController::create() {
    return std::shared_ptr<ViewController>(new ViewController);
}

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
    for (const std::shared_ptr<ViewController>& child : m_children)
        child->m_parent = nullptr;
    if (m_presented)
        m_presented->m_presenting = nullptr;
}

const std::shared_ptr<View>& ViewController::view() {
    if (!m_view) {
        loadView();
        if (!m_view)
            setView(View::create());
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
    m_view = std::move(view);
    if (m_view)
        m_view->setViewController(this);
}

Responder* ViewController::nextResponder() const {
    if (m_view && m_view->superview())
        return m_view->superview();
    return m_presenting;
}

void ViewController::loadView() {
    if (!m_nibName.empty()) {
        const core::Status loaded = InterfaceLoader::shared().loadInto(m_nibName, *this);
        if (loaded.ok())
            return;
        core::log(core::LogLevel::Error, "interface file \"" + m_nibName + "\": " + loaded.error().text());
    }
    setView(View::create());
}

void ViewController::viewDidLoad() {}
void ViewController::viewWillAppear(bool) {}
void ViewController::viewDidAppear(bool) {}
void ViewController::viewWillDisappear(bool) {}
void ViewController::viewDidDisappear(bool) {}
void ViewController::viewWillLayoutSubviews() {}
void ViewController::viewDidLayoutSubviews() {}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
    ++m_appearanceTransitions;
    m_appearanceAnimated = animated;
    if (appearing && (m_appearance == Appearance::Disappeared || m_appearance == Appearance::Disappearing)) {
        m_appearance = Appearance::Appearing;
        viewWillAppear(animated);
    } else if (!appearing &&
               (m_appearance == Appearance::Appeared || m_appearance == Appearance::Appearing)) {
        m_appearance = Appearance::Disappearing;
        viewWillDisappear(animated);
    }
}

void ViewController::endAppearanceTransition() {
    m_appearanceTransitions = std::max(0, m_appearanceTransitions - 1);
    if (m_appearance == Appearance::Appearing) {
        m_appearance = Appearance::Appeared;
        viewDidAppear(m_appearanceAnimated);
    } else if (m_appearance == Appearance::Disappearing) {
        m_appearance = Appearance::Disappeared;
        viewDidDisappear(m_appearanceAnimated);
    }
}

void ViewController::viewDidMoveToWindow() {
    if (m_appearanceTransitions > 0 || !m_view)
        return;
    const bool inWindow = m_view->window() != nullptr;
    const bool shown = m_appearance == Appearance::Appeared || m_appearance == Appearance::Appearing;
    if (inWindow == shown)
        return;
    const std::shared_ptr<ViewController> keep = shared_from_this();
    beginAppearanceTransition(inWindow, false);
    endAppearanceTransition();
}

void ViewController::addChildViewController(std::shared_ptr<ViewController> child) {
    if (!child || child.get() == this)
        return;
    if (child->m_parent == this)
        return;
    if (child->m_parent)
        child->removeFromParentViewController();
    child->willMoveToParentViewController(this);
    child->m_parent = this;
    m_children.push_back(std::move(child));
}

void ViewController::removeFromParentViewController() {
    ViewController* parent = m_parent;
    if (!parent)
        return;
    const std::shared_ptr<ViewController> keep = shared_from_this();
    m_parent = nullptr;
    std::erase_if(parent->m_children,
                  [this](const std::shared_ptr<ViewController>& child) { return child.get() == this; });
    didMoveToParentViewController(nullptr);
}

void ViewController::willMoveToParentViewController(ViewController*) {}

void ViewController::didMoveToParentViewController(ViewController*) {}

void ViewController::setTitle(std::string title) {
    m_title = std::move(title);
    if (m_parent)
        m_parent->childNavigationItemDidChange(*this);
}

void ViewController::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item) {
    m_rightBarButtonItem = std::move(item);
    if (m_parent)
        m_parent->childNavigationItemDidChange(*this);
}

NavigationController* ViewController::navigationController() const {
    for (ViewController* parent = m_parent; parent; parent = parent->m_parent)
        if (auto* navigation = dynamic_cast<NavigationController*>(parent))
            return navigation;
    return nullptr;
}

void ViewController::childNavigationItemDidChange(ViewController&) {}

void ViewController::transition(const std::shared_ptr<ViewController>& from,
                                const std::shared_ptr<ViewController>& to, double duration,
                                AnimationOptions options, const std::function<void()>& animations,
                                std::function<void(bool finished)> completion) {
    auto refuse = [&completion](const std::string& why) {
        core::log(core::LogLevel::Error, "a child transition needs " + why);
        if (completion)
            completion(false);
    };
    if (!from || !to || from == to || from->m_parent != this || to->m_parent != this)
        return refuse("two different children of the same parent");
    const std::shared_ptr<View> fromView = from->view();
    if (!fromView->superview())
        return refuse("the outgoing view on screen");
    const std::shared_ptr<View> toView = to->view(); // loaded before it hears that it appears
    const bool animated = duration > 0;
    to->beginAppearanceTransition(true, animated);
    from->beginAppearanceTransition(false, animated);
    ui::transition(*fromView, toView, {.duration = duration, .options = options}, animations,
                   [from, to, completion = std::move(completion)](bool finished) {
                       from->endAppearanceTransition();
                       to->endAppearanceTransition();
                       if (completion)
                           completion(finished);
                   });
}

void ViewController::presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                                           std::function<void()> completion) {
    Window* window = isViewLoaded() ? m_view->window() : nullptr;
    if (!controller || m_presented || controller->m_presenting || !window) {
        core::log(core::LogLevel::Warning,
                  "cannot present: nothing to present, already presenting, or not on screen");
        return;
    }
    m_presented = controller;
    controller->m_presenting = this;
    const std::shared_ptr<View>& presentedView = controller->view();
    const core::Rect bounds = window->bounds();
    presentedView->setFrame(animated ? bounds.offsetBy(0, bounds.height()) : bounds);
    presentedView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    controller->beginAppearanceTransition(true, animated);
    window->addSubview(presentedView);
    animateOrChange(
        {.duration = animated ? presentationDuration : 0},
        [presentedView, bounds] { presentedView->setFrame(bounds); },
        [controller, completion = std::move(completion)](bool) {
            controller->endAppearanceTransition();
            if (completion)
                completion();
        });
}

void ViewController::dismissViewController(bool animated, std::function<void()> completion) {
    if (!m_presented) {
        if (m_presenting)
            m_presenting->dismissViewController(animated, std::move(completion));
        return;
    }
    const std::shared_ptr<ViewController> presented = std::move(m_presented);
    const std::shared_ptr<View> presentedView = presented->view();
    const core::Rect frame = presentedView->frame();
    presented->beginAppearanceTransition(false, animated);
    animateOrChange(
        {.duration = animated ? presentationDuration : 0},
        [presentedView, frame] { presentedView->setFrame(frame.offsetBy(0, frame.height())); },
        [presented, presentedView, completion = std::move(completion)](bool) {
            presentedView->removeFromSuperview();
            presented->m_presenting = nullptr;
            presented->endAppearanceTransition();
            if (completion)
                completion();
        });
}

} // namespace ui
