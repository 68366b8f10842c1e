#pragma once

// Test support for the automatic players: a headless device whose window holds a container view with
// a playground view (set off from the container's corner, as on a screen) and a resting view for the
// finger, a delegate that records what the playground reports, and a clock moved by the test.

#include "JTMathParser/ExprTextReader.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "playground/testing/PlayStage.h"

#include <memory>
#include <string>

namespace zm::testing {

class ExecutorStage {
public:
    // Where the playground view stands in the container.
    static constexpr core::Point kPlaygroundOrigin{0, 40};

    explicit ExecutorStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : host(ui::Device{idiom, 1}) {
        const core::Rect bounds = host.window().bounds();
        container = ui::View::create(bounds);
        host.window().addSubview(container);
        playgroundView = PlaygroundView::create({kPlaygroundOrigin.x, kPlaygroundOrigin.y, bounds.width(),
                                                 bounds.height() - kPlaygroundOrigin.y});
        container->addSubview(playgroundView);
        restingView = ui::View::create({20, bounds.height() - 60, 40, 40});
        container->addSubview(restingView);
        playgroundView->setPlayDelegate(delegate);
    }
    // A player stopped mid-gesture still finishes the operation it was running: let it, so that
    // nothing is left waiting on the clock when the main loop ends.
    ~ExecutorStage() {
        if (const std::shared_ptr<AIExecutor>& executor = playgroundView->executor())
            executor->cancelAnimations();
        host.advance(kLastOperation);
    }

    // Starts a problem read from its text and lets it settle.
    void start(const std::string& text) {
        playgroundView->setNewProblem(ExprTextReader::parseString(text));
        host.advance(1);
    }

    // A player of class T on the playground view, installed there (with or without the resting view)
    // but not started.
    template <class T> std::shared_ptr<T> makeExecutor(bool withRestingView = true) {
        auto executor =
            AIExecutor::create<T>(playgroundView, withRestingView ? restingView : nullptr, container);
        playgroundView->setExecutor(executor);
        return executor;
    }

    // Moves time on until the player stops, or `limit` seconds have passed; answers whether it
    // stopped.
    bool runUntilStopped(const AIExecutor& executor, double limit) {
        for (double elapsed = 0; elapsed < limit && executor.operational(); elapsed += kSlice)
            host.advance(kSlice);
        return !executor.operational();
    }

    PlaygroundMain& main() const { return *playgroundView->mainPlayground(); }
    ExprPtr expr() const { return main().mainExpr(); }
    std::string text() const { return expr() ? expr()->description() : ""; }
    // The moves the playground took: every step it was asked to execute.
    int moves() const { return delegate->count("willExecuteStep"); }

    host::HeadlessHost host;
    std::shared_ptr<ui::View> container;
    std::shared_ptr<PlaygroundView> playgroundView;
    std::shared_ptr<ui::View> restingView;
    std::shared_ptr<RecordingPlaygroundDelegate> delegate = std::make_shared<RecordingPlaygroundDelegate>();

private:
    static constexpr double kSlice = 0.5;
    static constexpr double kLastOperation = 5;
};

} // namespace zm::testing
