#pragma once

#include "platform/ui/InterfaceObject.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewAnimation.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class BarButtonItem;
class NavigationController;
class View;

// The look of the status bar a screen asks for; the desktop has no status bar, so it means nothing.
enum class StatusBarStyle { Default = 0, LightContent = 1 };

// Manages one view, the base of every screen.
//
// The view is made when it is first asked for: from the controller's interface file when it has one
// (see InterfaceFile), else by loadView; then viewDidLoad runs, once. The controller stands behind its
// view as the view's next responder.
//
// Appearance: a controller hears viewWillAppear / viewDidAppear when its view comes into a window and
// viewWillDisappear / viewDidDisappear when it leaves, whoever moves it, except that a child transition
// and a presentation send them themselves: "will" when they start, "did" when their animation ends.
// Layout passes of the view are framed by viewWillLayoutSubviews and viewDidLayoutSubviews.
//
// Containment: a parent holds child controllers and places their views in its own. Adding a child
// tells it willMoveToParent(parent); removing it tells it didMoveToParent(nullptr); the other two
// messages are the parent's to send, when it has placed or is about to remove the child's view.
//
// Presentation: a presented controller's view covers the window above everything, sliding up from the
// bottom edge when animated, until it is dismissed.
//
// Main thread only.
class ViewController : public Responder,
                       public InterfaceObject,
                       public std::enable_shared_from_this<ViewController> {
public:
    static std::shared_ptr<ViewController> create();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, made on first use.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(std::shared_ptr<View> view);

    // The interface file the view comes from (empty: loadView makes it).
    const std::string& nibName() const { return m_nibName; }
    void setNibName(std::string name) { m_nibName = std::move(name); }

    // Lifecycle.
    virtual void viewDidLoad();
    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);
    virtual void viewWillLayoutSubviews();
    virtual void viewDidLayoutSubviews();
    virtual StatusBarStyle preferredStatusBarStyle() const { return StatusBarStyle::Default; }

    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };
    Appearance appearance() const { return m_appearance; }
    // For containers that move a child's view themselves and want its appearance messages to follow
    // their own animation: begin sends "will", end sends the matching "did". While a transition is open
    // the window moves of the view send nothing.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();

    // Containment.
    ViewController* parentViewController() const { return m_parent; }
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return m_children; }
    void addChildViewController(std::shared_ptr<ViewController> child);
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(ViewController* parent);
    virtual void didMoveToParentViewController(ViewController* parent);

    // Replaces the child `from` by the child `to`: adds to's view on top of from's superview, runs
    // `animations` as one view animation of `duration` with `options`, removes from's view when it ends
    // and then calls `completion` once, with whether the animation finished. Appearance messages follow
    // the animation. Children of another parent are refused: nothing moves and the completion hears
    // false.
    void transition(const std::shared_ptr<ViewController>& from, const std::shared_ptr<ViewController>& to,
                    double duration, AnimationOptions options, const std::function<void()>& animations,
                    std::function<void(bool finished)> completion);

    // Presentation. Presenting needs a view in a window and nothing presented yet; otherwise the request
    // is ignored (and logged). Dismissing on the presented controller dismisses it through its presenter.
    void presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                               std::function<void()> completion = {});
    void dismissViewController(bool animated, std::function<void()> completion = {});
    ViewController* presentingViewController() const { return m_presenting; }
    ViewController* presentedViewController() const { return m_presented.get(); }

    // What a navigation bar shows for the controller: its title, and a button at the right.
    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const std::shared_ptr<BarButtonItem>& rightBarButtonItem() const { return m_rightBarButtonItem; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item);
    // The nearest navigation controller among the parents (nullptr when there is none).
    NavigationController* navigationController() const;

    Responder* nextResponder() const override;

protected:
    ViewController();

    // The title or bar button of the child `child` changed.
    virtual void childNavigationItemDidChange(ViewController& child);

    // Makes the view when there is no interface file; the default is a plain view. An override sets it
    // with setView.
    virtual void loadView();

private:
    friend class View;

    // The view entered or left a window.
    void viewDidMoveToWindow();

    std::shared_ptr<View> m_view;
    std::string m_nibName;
    Appearance m_appearance = Appearance::Disappeared;
    bool m_appearanceAnimated = false;
    int m_appearanceTransitions = 0;    // open begin/end pairs: window moves send nothing meanwhile
    ViewController* m_parent = nullptr; // owns this controller
    std::vector<std::shared_ptr<ViewController>> m_children;
    std::string m_title;
    std::shared_ptr<BarButtonItem> m_rightBarButtonItem;
    ViewController* m_presenting = nullptr; // owns this controller while presenting it
    std::shared_ptr<ViewController> m_presented;
};

} // namespace ui
