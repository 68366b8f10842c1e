#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

std::vector<View*> subviewsOf(const View& view) {
    std::vector<View*> list;
    for (const auto& subview : view.subviews())
        list.push_back(subview.get());
    return list;
}

// The layers of the subviews, in drawing order, as the views they belong to.
std::vector<View*> layerOrderOf(const View& view) {
    std::vector<View*> list;
    for (const auto& layer : view.layer().sublayers()) {
        for (const auto& subview : view.subviews()) {
            if (&subview->layer() == layer.get())
                list.push_back(subview.get());
        }
    }
    return list;
}

TEST(View, FrameCenterAndBoundsAgree) {
    auto view = View::create({10, 20, 30, 40});
    EXPECT_EQ(view->center(), (core::Point{25, 40}));
    EXPECT_EQ(view->bounds(), core::Rect(0, 0, 30, 40));
    view->setCenter({100, 100});
    EXPECT_EQ(view->frame(), core::Rect(85, 80, 30, 40));
    view->setBounds({5, 5, 10, 20});
    EXPECT_EQ(view->frame(), core::Rect(95, 90, 10, 20));
}

TEST(View, TransformActsAboutTheCenter) {
    auto view = View::create({0, 0, 40, 20});
    view->setTransform(core::AffineTransform::makeScale(2, 2));
    EXPECT_EQ(view->frame(), core::Rect(-20, -10, 80, 40));
    EXPECT_EQ(view->center(), (core::Point{20, 10}));
    // Setting the frame of a scaled view sizes the bounds so that the scaled box fits the frame.
    view->setFrame({0, 0, 100, 60});
    EXPECT_EQ(view->bounds().size, (core::Size{50, 30}));
    EXPECT_EQ(view->frame(), core::Rect(0, 0, 100, 60));
    // A quarter turn swaps the frame's sides.
    view->setTransform(core::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2));
    EXPECT_NEAR(view->frame().width(), 30, 1e-4);
    EXPECT_NEAR(view->frame().height(), 50, 1e-4);
}

TEST(View, SubviewsKeepTheirOrderInViewsAndLayers) {
    auto parent = View::create();
    auto a = View::create();
    auto b = View::create();
    auto c = View::create();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{c.get(), a.get(), b.get()}));
    parent->bringSubviewToFront(*c);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{a.get(), b.get(), c.get()}));
    parent->sendSubviewToBack(*b);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{b.get(), a.get(), c.get()}));
    parent->insertSubviewAbove(b, *a);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{a.get(), b.get(), c.get()}));
    parent->insertSubviewBelow(c, *a);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{c.get(), a.get(), b.get()}));
    // Adding a subview again moves it to the top.
    parent->addSubview(c);
    EXPECT_EQ(subviewsOf(*parent), (std::vector<View*>{a.get(), b.get(), c.get()}));
    EXPECT_EQ(layerOrderOf(*parent), subviewsOf(*parent));
    EXPECT_EQ(parent->layer().sublayers().size(), 3u);
}

TEST(View, PlainSublayersStayBetweenSubviews) {
    auto parent = View::create();
    auto below = View::create();
    auto above = View::create();
    parent->addSubview(below);
    auto decoration = Layer::create();
    parent->layer().addSublayer(decoration);
    parent->addSubview(above);
    const auto& layers = parent->layer().sublayers();
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0].get(), &below->layer());
    EXPECT_EQ(layers[1], decoration);
    EXPECT_EQ(layers[2].get(), &above->layer());
    // Sending a view to the back puts its layer below the decoration too.
    parent->sendSubviewToBack(*above);
    EXPECT_EQ(parent->layer().sublayers()[0].get(), &above->layer());
}

TEST(View, MovingBetweenSuperviewsAndRemoving) {
    auto first = View::create();
    auto second = View::create();
    auto child = View::create();
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    EXPECT_EQ(child->superview(), second.get());
    EXPECT_EQ(child->layer().superlayer(), &second->layer());
    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->layer().superlayer(), nullptr);
    EXPECT_TRUE(second->layer().sublayers().empty());
    // A view cannot be put inside itself.
    child->addSubview(first);
    EXPECT_DEATH_IF_SUPPORTED(first->addSubview(child), "");
}

TEST(View, SubviewsOutliveADroppedSuperview) {
    auto child = View::create();
    {
        auto parent = View::create();
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr);
    auto other = View::create();
    other->addSubview(child);
    EXPECT_EQ(child->superview(), other.get());
}

TEST(View, TagsAndDescendants) {
    auto root = View::create();
    auto branch = View::create();
    auto leaf = View::create();
    root->addSubview(branch);
    branch->addSubview(leaf);
    leaf->setTag(7);
    branch->setTag(3);
    EXPECT_EQ(root->viewWithTag(7), leaf.get());
    EXPECT_EQ(root->viewWithTag(3), branch.get());
    EXPECT_EQ(root->viewWithTag(0), root.get());
    EXPECT_EQ(root->viewWithTag(9), nullptr);
    EXPECT_TRUE(leaf->isDescendantOf(*root));
    EXPECT_FALSE(root->isDescendantOf(*leaf));
}

TEST(View, WindowReachesTheWholeSubtree) {
    struct Watcher : View {
        static std::shared_ptr<Watcher> make() { return std::shared_ptr<Watcher>(new Watcher); }
        Watcher()
            : View({}) {}
        void didMoveToWindow() override { windows.push_back(window()); }
        std::vector<Window*> windows;
    };
    auto window = Window::create({0, 0, 100, 100});
    auto branch = View::create();
    auto leaf = Watcher::make();
    branch->addSubview(leaf);
    window->addSubview(branch);
    EXPECT_EQ(leaf->window(), window.get());
    branch->removeFromSuperview();
    EXPECT_EQ(leaf->window(), nullptr);
    EXPECT_EQ(leaf->windows, (std::vector<Window*>{window.get(), nullptr}));
}

TEST(View, HitTestFindsTheDeepestViewThatTakesTouches) {
    auto root = View::create({0, 0, 300, 300});
    auto panel = View::create({100, 100, 100, 100});
    auto button = View::create({10, 10, 20, 20});
    auto overlap = View::create({150, 150, 100, 100}); // above panel's lower right quarter
    root->addSubview(panel);
    panel->addSubview(button);
    root->addSubview(overlap);

    struct Case {
        core::Point point;
        View* expected;
    };
    const Case cases[] = {
        {{115, 115}, button.get()}, {{105, 105}, panel.get()}, {{160, 160}, overlap.get()},
        {{20, 20}, root.get()},     {{299, 299}, root.get()},  {{300, 300}, nullptr},
        {{-1, 5}, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(root->hitTest(c.point, nullptr), c.expected) << c.point.x << "," << c.point.y;

    overlap->setHidden(true);
    EXPECT_EQ(root->hitTest({160, 160}, nullptr), panel.get());
    overlap->setHidden(false);
    overlap->setAlpha(0.009f);
    EXPECT_EQ(root->hitTest({160, 160}, nullptr), panel.get());
    overlap->setAlpha(0.01f);
    EXPECT_EQ(root->hitTest({160, 160}, nullptr), overlap.get());
    overlap->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest({160, 160}, nullptr), panel.get());
    // A view that takes no touches hides its subviews from them too.
    panel->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest({115, 115}, nullptr), root.get());
}

TEST(View, HitTestHonoursTransformsAndOverriddenInsideTests) {
    // A slider-like view that is easier to catch: 10 points above and below count as inside.
    struct Grown : View {
        static std::shared_ptr<Grown> make(const core::Rect& frame) {
            return std::shared_ptr<Grown>(new Grown(frame));
        }
        explicit Grown(const core::Rect& frame)
            : View(frame) {}
        bool pointInside(core::Point point, const Event*) const override {
            return bounds().insetBy(0, -10).contains(point);
        }
    };
    auto root = View::create({0, 0, 200, 200});
    auto grown = Grown::make({50, 50, 100, 20});
    root->addSubview(grown);
    EXPECT_EQ(root->hitTest({60, 45}, nullptr), grown.get());
    EXPECT_EQ(root->hitTest({60, 39}, nullptr), root.get());

    auto scaled = View::create({0, 150, 20, 20});
    scaled->setTransform(core::AffineTransform::makeScale(2, 2));
    root->addSubview(scaled);
    EXPECT_EQ(root->hitTest({25, 145}, nullptr), scaled.get()); // inside the doubled box only
    EXPECT_EQ(root->hitTest({35, 145}, nullptr), root.get());
    scaled->setTransform(core::AffineTransform::makeScale(0, 0));
    EXPECT_EQ(root->hitTest({10, 160}, nullptr), root.get());
}

TEST(View, ConversionBetweenAnyTwoViews) {
    auto root = View::create({0, 0, 500, 500});
    auto a = View::create({100, 50, 200, 200});
    auto b = View::create({10, 20, 50, 50});
    auto c = View::create({300, 300, 100, 100});
    a->addSubview(b);
    root->addSubview(a);
    root->addSubview(c);
    c->setBounds({-10, -20, 100, 100}); // scrolled content
    auto turned = View::create({0, 0, 100, 50});
    turned->setCenter({250, 250});
    turned->setTransform(core::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2));
    root->addSubview(turned);

    struct Case {
        const View* from;
        const View* to;
        core::Point point;
        core::Point expected;
    };
    const Case cases[] = {
        {b.get(), nullptr, {0, 0}, {110, 70}},
        {b.get(), root.get(), {5, 5}, {115, 75}},
        {b.get(), a.get(), {1, 2}, {11, 22}},
        {root.get(), b.get(), {110, 70}, {0, 0}},
        {b.get(), c.get(), {0, 0}, {-200, -250}},
        {c.get(), nullptr, {-10, -20}, {300, 300}},
        {turned.get(), nullptr, {50, 25}, {250, 250}},
        {turned.get(), nullptr, {0, 0}, {275, 200}}, // the top-left corner turns to the top right
        {nullptr, turned.get(), {275, 200}, {0, 0}},
    };
    for (const Case& c : cases) {
        const core::Point result =
            c.from ? c.from->convertPointToView(c.point, c.to) : c.to->convertPointFromView(c.point, nullptr);
        EXPECT_NEAR(result.x, c.expected.x, 1e-3) << c.point.x << "," << c.point.y;
        EXPECT_NEAR(result.y, c.expected.y, 1e-3) << c.point.x << "," << c.point.y;
        if (c.from && c.to) {
            const core::Point back = c.to->convertPointToView(result, c.from);
            EXPECT_NEAR(back.x, c.point.x, 1e-3);
            EXPECT_NEAR(back.y, c.point.y, 1e-3);
        }
    }
    EXPECT_EQ(b->convertRectToView({0, 0, 10, 10}, root.get()), core::Rect(110, 70, 10, 10));
    EXPECT_EQ(root->convertRectFromView({0, 0, 10, 10}, b.get()), core::Rect(110, 70, 10, 10));
    const core::Rect turnedBox = turned->convertRectToView(turned->bounds(), nullptr);
    EXPECT_NEAR(turnedBox.width(), 50, 1e-3);
    EXPECT_NEAR(turnedBox.height(), 100, 1e-3);
}

TEST(View, AutoresizingSharesTheChangeAmongFlexibleParts) {
    using enum AutoresizingMask;
    struct Case {
        AutoresizingMask mask;
        core::Rect expected;
    };
    // A 100 x 50 child at (10, 20) of a 200 x 100 parent that grows to 300 x 150.
    const Case cases[] = {
        {None, {10, 20, 100, 50}},
        {FlexibleWidth, {10, 20, 200, 50}},
        {FlexibleWidth | FlexibleHeight, {10, 20, 200, 100}},
        {FlexibleLeftMargin, {110, 20, 100, 50}},
        {FlexibleRightMargin, {10, 20, 100, 50}},
        // Margins 10 and 90 share the 100 points 1 : 9.
        {FlexibleLeftMargin | FlexibleRightMargin, {20, 20, 100, 50}},
        // Left margin 10 and width 100 share 100 points 1 : 10.
        {FlexibleLeftMargin | FlexibleWidth, {10 + 100.0f / 11, 20, 100 + 1000.0f / 11, 50}},
        {FlexibleTopMargin | FlexibleBottomMargin, {10, 20 + 50 * 20.0f / 50, 100, 50}},
    };
    for (const Case& c : cases) {
        auto parent = View::create({0, 0, 200, 100});
        auto child = View::create({10, 20, 100, 50});
        child->setAutoresizingMask(c.mask);
        parent->addSubview(child);
        parent->setFrame({0, 0, 300, 150});
        const core::Rect frame = child->frame();
        EXPECT_NEAR(frame.minX(), c.expected.minX(), 1e-3) << unsigned(c.mask);
        EXPECT_NEAR(frame.minY(), c.expected.minY(), 1e-3) << unsigned(c.mask);
        EXPECT_NEAR(frame.width(), c.expected.width(), 1e-3) << unsigned(c.mask);
        EXPECT_NEAR(frame.height(), c.expected.height(), 1e-3) << unsigned(c.mask);
    }
}

// Writes its name into a log at each layout pass.
struct Counting : View {
    static std::shared_ptr<Counting> make(std::vector<std::string>* log, std::string name) {
        auto view = std::shared_ptr<Counting>(new Counting);
        view->log = log;
        view->name = std::move(name);
        return view;
    }
    Counting()
        : View({}) {}
    void layoutSubviews() override { log->push_back(name); }
    std::vector<std::string>* log = nullptr;
    std::string name;
};

TEST(View, LayoutRunsOncePerRequestTopDown) {
    std::vector<std::string> log;
    auto parent = Counting::make(&log, "parent");
    auto child = Counting::make(&log, "child");
    parent->addSubview(child);
    parent->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"parent", "child"}));
    parent->layoutIfNeeded();
    EXPECT_EQ(log.size(), 2u);
    child->setFrame({0, 0, 10, 10}); // a new size asks for layout
    parent->layoutIfNeeded();
    EXPECT_EQ(log.back(), "child");
    EXPECT_EQ(log.size(), 3u);
}

TEST(View, ASubviewArrivingOrLeavingAsksForLayout) {
    std::vector<std::string> log;
    auto first = Counting::make(&log, "first");
    auto second = Counting::make(&log, "second");
    auto child = View::create();
    auto layOut = [&] {
        log.clear();
        first->layoutIfNeeded();
        second->layoutIfNeeded();
        return log;
    };
    layOut();
    first->addSubview(child);
    EXPECT_EQ(layOut(), (std::vector<std::string>{"first"}));
    second->addSubview(child); // leaves the first, arrives in the second
    EXPECT_EQ(layOut(), (std::vector<std::string>{"first", "second"}));
    child->removeFromSuperview();
    EXPECT_EQ(layOut(), (std::vector<std::string>{"second"}));
    // Reordering is no arrival.
    second->addSubview(child);
    second->addSubview(View::create());
    layOut();
    second->bringSubviewToFront(*child);
    EXPECT_TRUE(layOut().empty());
}

TEST(View, ViewControllerLoadsItsViewOnceAndStandsBehindIt) {
    struct Screen : ViewController {
        static std::shared_ptr<Screen> make() { return std::shared_ptr<Screen>(new Screen); }
        void viewDidLoad() override { ++loads; }
        int loads = 0;
    };
    auto screen = Screen::make();
    EXPECT_FALSE(screen->isViewLoaded());
    View* view = screen->view().get();
    EXPECT_EQ(screen->view().get(), view);
    EXPECT_EQ(screen->loads, 1);
    EXPECT_EQ(view->nextResponder(), screen.get());

    auto window = Window::create({0, 0, 480, 320});
    window->setRootViewController(screen);
    EXPECT_EQ(view->superview(), window.get());
    EXPECT_EQ(view->frame(), window->bounds());
    EXPECT_EQ(screen->nextResponder(), window.get());
}

} // namespace
} // namespace ui
