#pragma once

#include "platform/core/Geometry.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>

namespace gfx {
class Image;
}

namespace ui {
class ImageView;
class View;
} // namespace ui

namespace zm {

class BackgroundView;
class BubbleView;
class HomeScreen;
class Topic;
class TopicViewController;

// The root of the window and the only navigator: it shows one screen at a time and replaces it by a
// new screen object on every transition (zooms and slides of 0.5 s, the fade to home of 0.75 s). Under
// the screen lie the hue-turning background and the bubble layer; `perc`, the home carousel's position,
// turns the hue and slides the bubbles. On its first appearance with English as the first language it
// shows the tutorial once.
//
// A request for a transition while one is running is ignored: a second tap would otherwise start a
// second transition from the same outgoing screen and leave a screen behind.
//
// Main thread only.
class ContainerViewController : public ui::ViewController {
public:
    // The container, with its view from the interface file "ContainerViewController".
    static std::shared_ptr<ContainerViewController> create();
    ~ContainerViewController() override;

    void connectOutlets(ui::Outlets& outlets) override;
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }

    // Navigation (ContainerNavigation.cpp). Screens handed in are new and not yet children.

    // Zooms from the home screen into the card of `topic` and opens the topic's screen; ignored unless
    // the home screen is current.
    void goToTopic(const Topic& topic);
    void goHome();
    // Zooms out to a new home screen, which then moves on to the next topic when `scrollToNext`.
    void goHomeAndScrollToNext(bool scrollToNext);
    // Slides `screen` in from the right, respectively from the left.
    void pushTopicVC(std::shared_ptr<TopicViewController> screen);
    void popToTopicVC(std::shared_ptr<TopicViewController> screen);
    // Grows `screen` out of a point (the lower right corner for the info screen, else the middle).
    void zoomIntoTopicVC(std::shared_ptr<TopicViewController> screen);
    // Shrinks `screen` into place from ten times its size.
    void zoomOutToTopicVC(std::shared_ptr<TopicViewController> screen);
    // Slides a new home screen in from the right over the fading tutorial.
    void fadeToHome();
    bool isTransitioning() const { return m_transitioning; }

    // Background (ContainerBackground.cpp).

    void setupBackground();
    // Draws the background turned by perc x 2 pi; `perc` itself stays.
    void drawColorPerc(float perc);
    // Follows the carousel: redraws the background when the position passes a whole percent, and slides
    // the bubble layer in any case.
    void setColorPerc(float perc);
    // The interface tint for the current position.
    core::Color getPixelColor() const;
    // The background as it shows now, blurred and darkened, the size of the container's view.
    std::shared_ptr<const gfx::Image> bigBlurBackgroundImage();
    // The bottom `height` points of that image, in a view of the container's width.
    std::shared_ptr<ui::ImageView> blurBackgroundBottomPiece(float height);
    void pushBubbles();
    // Sizes the bubble layer anew and rebuilds it.
    void resetBubbles();

    const std::shared_ptr<TopicViewController>& mainVC() const { return m_mainVC; }
    double perc() const { return m_perc; }
    void setPerc(double perc) { m_perc = perc; }
    // Where the outgoing screen's snapshot flies to in the zooms into a screen.
    core::Point oppositeCenter() const { return m_oppositeCenter; }
    BubbleView* bubbleView() const { return m_bubbleView.get(); }
    // The background surface of the interface file; every screen takes its frame.
    std::shared_ptr<BackgroundView> glkView() const { return m_glkView.lock(); }

protected:
    ContainerViewController();

private:
    // Zooms and slides take this long; the fade to home is slower.
    static constexpr double kTransitionDuration = 0.5;
    static constexpr double kFadeToHomeDuration = 0.75;

    // One transition: the start and end of the incoming view and the end of the outgoing screen's
    // snapshot (ContainerNavigation.cpp).
    struct Transition {
        double duration = kTransitionDuration;
        // Slides leave the incoming view's alpha as it is; every other transition ends it at 1.
        bool endsOpaque = true;
        // The outgoing screen only grows past the screen's edges: what shows of its snapshot only shrinks,
        // and the rest of its picture is let go as it goes.
        bool snapshotOnlyGrows = false;
        std::function<void(ui::View& incoming)> start;
        std::function<void(ui::View& incoming, ui::View& snapshot)> end;
        std::function<void()> after;
    };
    void transition(std::shared_ptr<TopicViewController> incoming, Transition how);
    // The incoming screen grows out of `start` to the middle while the outgoing one flies, ten times
    // larger, to `opposite`.
    static Transition zoomInto(core::Point start, core::Point middle, core::Point opposite);
    // The incoming screen slides in from the right (side 1) or the left (side -1).
    Transition slideFrom(float side);
    // A new home screen coming back from the current screen.
    std::shared_ptr<HomeScreen> makeReturningHome();
    // Whether a new transition may start now; logs why not.
    bool mayNavigate(const char* request) const;
    std::shared_ptr<HomeScreen> makeHomeScreen();
    core::Rect screenFrame();
    core::Point screenCenter();
    // The share of the container's width by which the bubble layer is wider ("parallaxPerc").
    float parallaxShare() const;
    bool shouldShowIntro() const;

    std::shared_ptr<TopicViewController> m_mainVC;
    double m_perc = 0;
    std::shared_ptr<BubbleView> m_bubbleView;
    std::weak_ptr<BackgroundView> m_glkView;
    core::Point m_oppositeCenter;
    bool m_transitioning = false;
};

} // namespace zm
