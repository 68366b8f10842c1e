#pragma once

#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace ui {

// A stack of screens under a navigation bar: the top one shows below the bar; pushing slides a new
// one in from the right over the old, popping slides the top one out to the right and the one below
// back in. The screens hear their appearance messages in order: the incoming "will appear" and the
// outgoing "will disappear" as the slide starts, the outgoing "did disappear" and the incoming "did
// appear" when it ends. A push or pop asked for while one slides is ignored (and logged).
//
// Main thread only.
class NavigationController : public ViewController {
public:
    static constexpr double kSlideDuration = 0.35;

    static std::shared_ptr<NavigationController> create(std::shared_ptr<ViewController> root);

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return childViewControllers(); }
    ViewController* topViewController() const;
    NavigationBar& navigationBar();

    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    // Answers the screen taken off, or nothing when the root alone is left (or a slide runs).
    std::shared_ptr<ViewController> popViewController(bool animated);
    bool isSliding() const { return m_sliding; }

protected:
    NavigationController() = default;

    void loadView() override;
    void childNavigationItemDidChange(ViewController& child) override;

private:
    core::Rect contentFrame() const;
    void updateBar();

    std::shared_ptr<NavigationBar> m_bar;
    std::shared_ptr<View> m_content; // holds the views of the screens
    bool m_sliding = false;
};

} // namespace ui
