#pragma once

// The game launched headless with a topic's playground screen opened from the home carousel, and a
// finger for its playground and buttons.

#include "model/Operator.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/HistoryManager.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/testing/ShellTesting.h"
#include "shell/topics/TopicStatsDataController.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace zm::testing {

// Scenario tables reach the helpers from outside, so they are public.
class PlaygroundScreenTest : public ShellTest {
public:
    void SetUp() override {
        ShellTest::SetUp();
        // Straight to the home carousel, without the tutorial.
        testDefaults().setBool(true, "seenIntro");
        store().resetProgress();
        // Help opens by itself on a topic's first visit; tests of that make the topics fresh again.
        for (const Topic& topic : store().topics())
            store().setViewedTopic(topic.topicID());
    }

    void TearDown() override {
        screen.reset();
        container.reset();
        application.reset();
        ShellTest::TearDown();
    }

    static TopicStatsDataController& store() { return TopicStatsDataController::sharedInstance(); }

    // Launches the game, opens the topic from the home carousel and lets everything settle.
    std::shared_ptr<PlaygroundViewController> open(std::string_view topicID,
                                                   const ui::Device& device = kTablet) {
        screen.reset();
        container.reset();
        application.reset();
        host::HeadlessHost& game = start(device);
        // Work the screen puts on operation queues (the blur of a solved problem's glow) runs with the
        // manual clock.
        game.loop().setCooperativeOperationQueues(true);
        AppDelegate::Configuration configuration;
        application = std::make_unique<AppDelegate>(configuration);
        application->application(game.application(), {});
        game.advance(1);
        container = application->containerVC();
        container->goToTopic(Topic(std::string(topicID)));
        game.advance(1);
        screen = std::dynamic_pointer_cast<PlaygroundViewController>(container->mainVC());
        return screen;
    }

    PlaygroundView& playground() const { return *screen->playgroundView(); }
    ExprPtr expr() const { return playground().mainPlayground()->mainExpr(); }
    std::string text() const { return expr() ? expr()->description() : ""; }

    // Plays `problem` from the start, as a new problem would be played, and lets it settle.
    void play(const ExprPtr& problem) {
        screen->startProblem(problem);
        host->advance(1);
    }

    // Where a view's middle is in the window.
    static core::Point middleOf(const ui::View& view) {
        const core::Rect frame = view.convertRectToView(view.bounds(), nullptr);
        return {frame.midX(), frame.midY()};
    }
    // Where the root's operator at `index` is in the window.
    core::Point operatorAt(size_t index) const {
        const std::span<const OperatorPtr> ops = expr()->ownOps();
        EXPECT_LT(index, ops.size()) << text();
        const std::shared_ptr<IGenericView> op =
            index < ops.size() ? playground().mainPlayground()->mainExprView()->viewWithOp(ops[index].get())
                               : nullptr;
        EXPECT_TRUE(op) << "no operator " << index << " in " << text();
        const core::Point point = op ? op->getPointAtPosition(AnchorCenter) : core::Point{};
        return playground().convertPointToView(point, nullptr);
    }

    // A finger taps the point and what it started settles.
    void tap(core::Point point) {
        host->touchDown(point);
        host->advance(0.05);
        host->touchUp(point);
        host->advance(1);
    }
    void tap(const ui::View& view) { tap(middleOf(view)); }
    void tapOperator(size_t index) { tap(operatorAt(index)); }
    // Solves a sum or a product of numbers by tapping its first operator again and again.
    void solveByTapping() {
        for (size_t moves = expr() ? expr()->ownOps().size() : 0; moves > 0 && !screen->isComplete(); --moves)
            tapOperator(0);
        EXPECT_TRUE(screen->isComplete()) << text();
    }

    // The window's picture now, also written as NAME.png under the temporary folder's "screenshots".
    std::shared_ptr<const gfx::Image> shot(const std::string& name) {
        std::shared_ptr<const gfx::Image> frame = host->screenshot();
        const std::filesystem::path folder = core::FileLocations::shared().temporary / "screenshots";
        std::filesystem::create_directories(folder);
        const std::vector<std::uint8_t> png = gfx::encodePng(*frame);
        std::ofstream(folder / (name + ".png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return frame;
    }

    std::unique_ptr<AppDelegate> application;
    std::shared_ptr<ContainerViewController> container;
    std::shared_ptr<PlaygroundViewController> screen;
};

} // namespace zm::testing
