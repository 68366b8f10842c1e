#include "platform/ui/NavigationController.h"

#include "platform/core/Log.h"
#include "platform/ui/Button.h"

namespace ui {

std::shared_ptr<NavigationController> NavigationController::create(std::shared_ptr<ViewController> root) {
    auto navigation = std::shared_ptr<NavigationController>(new NavigationController);
    navigation->addChildViewController(root);
    root->didMoveToParentViewController(navigation.get());
    return navigation;
}

ViewController* NavigationController::topViewController() const {
    const auto& stack = viewControllers();
    return stack.empty() ? nullptr : stack.back().get();
}

NavigationBar& NavigationController::navigationBar() {
    view();
    return *m_bar;
}

core::Rect NavigationController::contentFrame() const {
    return m_content->bounds();
}

void NavigationController::loadView() {
    // The screens and the bar cover it: no ground of its own to fill every frame.
    auto root = View::create();
    m_bar = NavigationBar::create({0, 0, 320, NavigationBar::kHeight});
    m_bar->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_content = View::create({0, NavigationBar::kHeight, 320, 480 - NavigationBar::kHeight});
    m_content->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    root->setFrame({0, 0, 320, 480});
    root->addSubview(m_content);
    root->addSubview(m_bar);
    m_bar->backButton().addTarget(ControlEvent::TouchUpInside, [this](Control&) { popViewController(true); });
    if (ViewController* top = topViewController()) {
        const std::shared_ptr<View>& topView = top->view();
        topView->setFrame(contentFrame());
        topView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        m_content->addSubview(topView);
    }
    setView(root);
    updateBar();
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller, bool animated) {
    if (!controller || m_sliding || controller->parentViewController()) {
        core::log(core::LogLevel::Warning, "navigation: a push while sliding, or of a screen already shown, is ignored");
        return;
    }
    view();
    const std::shared_ptr<ViewController> from = viewControllers().back();
    addChildViewController(controller);
    const core::Rect content = contentFrame();
    const std::shared_ptr<View>& incoming = controller->view();
    incoming->setFrame(animated ? content.offsetBy(content.width(), 0) : content);
    incoming->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    m_sliding = true;
    updateBar();
    transition(
        from, controller, animated ? kSlideDuration : 0, AnimationOptions::None,
        [incoming, outgoing = from->view(), content] {
            incoming->setFrame(content);
            outgoing->setFrame(content.offsetBy(-content.width() / 3, 0));
        },
        [this, controller, outgoing = from->view(), content](bool) {
            outgoing->setFrame(content);
            m_sliding = false;
            controller->didMoveToParentViewController(this);
        });
}

std::shared_ptr<ViewController> NavigationController::popViewController(bool animated) {
    if (m_sliding || viewControllers().size() < 2)
        return nullptr;
    const std::shared_ptr<ViewController> leaving = viewControllers().back();
    const std::shared_ptr<ViewController> below = viewControllers()[viewControllers().size() - 2];
    leaving->willMoveToParentViewController(nullptr);
    const core::Rect content = contentFrame();
    const std::shared_ptr<View>& returning = below->view();
    returning->setFrame(animated ? content.offsetBy(-content.width() / 3, 0) : content);
    m_sliding = true;
    transition(
        leaving, below, animated ? kSlideDuration : 0, AnimationOptions::None,
        [this, returning, outgoing = leaving->view(), content] {
            // The leaving screen slides over the one coming back.
            m_content->bringSubviewToFront(*outgoing);
            returning->setFrame(content);
            outgoing->setFrame(content.offsetBy(content.width(), 0));
        },
        [this, leaving](bool) {
            m_sliding = false;
            leaving->removeFromParentViewController();
            updateBar();
        });
    updateBar();
    return leaving;
}

void NavigationController::childNavigationItemDidChange(ViewController&) {
    if (m_bar)
        updateBar();
}

void NavigationController::updateBar() {
    const auto& stack = viewControllers();
    if (stack.empty())
        return;
    // While a pop slides, the screen below is the one the bar is for.
    const bool popping = m_sliding && stack.back()->appearance() == Appearance::Disappearing;
    const size_t top = stack.size() - (popping ? 2 : 1);
    std::optional<std::string> backTitle;
    if (top > 0)
        backTitle = stack[top - 1]->title();
    m_bar->setItems(stack[top]->title(), backTitle, stack[top]->rightBarButtonItem());
}

} // namespace ui
