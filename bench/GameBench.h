#pragma once

// The game as it runs, for benchmarks of its screens: launched in a headless window of the device a
// benchmark's arguments name (state.range(0): 0 phone, 1 tablet; state.range(1): the scale), over a
// settings file and a data root of its own (without a cloud) with no progress and no problem sets,
// English as the player's language, and every topic already visited (so no help opens by itself).

#include "model/Operator.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Localization.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/host/HeadlessHost.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "problemsets/ProblemSetClasses.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/Bundle.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/screens/TopicViewController.h"
#include "shell/topics/Topic.h"
#include "shell/topics/TopicStatsDataController.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// A frame: the game's clock moves on by a sixtieth of a second, and the window is drawn.
inline constexpr double kFrame = 1.0 / 60;

struct Game {
    enum class Intro { Seen, Shown };

    explicit Game(const benchmark::State& state, Intro intro = Intro::Seen)
        : host({state.range(0) ? ui::Idiom::Tablet : ui::Idiom::Phone, float(state.range(1))}) {
        useOwnSettings();
        core::UserDefaults::standard().setBool(intro == Intro::Seen, "seenIntro");
        zm::TopicStatsDataController& store = zm::TopicStatsDataController::sharedInstance();
        store.resetProgress();
        for (const zm::Topic& topic : store.topics())
            store.setViewedTopic(topic.topicID());
        host.loop().setCooperativeOperationQueues(true);
        zm::installBundle();
        zm::installProblemSets();
        zm::AppDelegate::Configuration configuration;
        configuration.makeProblemSetStore = [] { return zm::QVDocumentDataController::create(); };
        delegate = std::make_unique<zm::AppDelegate>(std::move(configuration));
        delegate->application(host.application(), {});
        host.advance(1);
    }

    zm::ContainerViewController& container() { return *delegate->containerVC(); }
    // The screen the container shows now, when it is a `Screen`.
    template <class Screen> std::shared_ptr<Screen> screen() {
        return std::dynamic_pointer_cast<Screen>(container().mainVC());
    }
    // Opens `topicID` from the home screen and waits for the zoom to end.
    void openTopic(std::string_view topicID) {
        container().goToTopic(zm::Topic(std::string(topicID)));
        host.advance(1.5);
    }

    // Taps the first operator of the problem on `screen` until it is solved, and lets the celebration
    // begin.
    void solve(zm::PlaygroundViewController& screen) {
        zm::PlaygroundView& playground = *screen.playgroundView();
        for (int move = 0; move < 8 && !screen.showingCompleted(); ++move) {
            const zm::ExprPtr expr = playground.mainPlayground()->mainExpr();
            if (expr->ownOps().empty())
                break;
            const auto op = playground.mainPlayground()->mainExprView()->viewWithOp(expr->ownOps()[0].get());
            const core::Point point =
                playground.convertPointToView(op->getPointAtPosition(zm::AnchorCenter), nullptr);
            host.touchDown(point);
            host.advance(0.05);
            host.touchUp(point);
            host.advance(1);
        }
        host.advance(2);
    }

    host::HeadlessHost host;
    std::unique_ptr<zm::AppDelegate> delegate;

private:
    // The benchmarks neither read nor change the player's own settings and files; the progress store,
    // made once per process over the store standing at its first use, keeps this one.
    static void useOwnSettings() {
        static const core::TemporaryFolder folder;
        static const bool once = [] {
            core::FileLocations locations =
                core::FileLocations::underRoot(folder.path(), core::FileLocations::shared().resources);
            core::FileLocations::setShared(std::move(locations));
            core::UserDefaults::setStandard(
                std::make_shared<core::UserDefaults>(folder.path() / "defaults.plist"));
            core::Localization::setMain(std::make_shared<core::Localization>(
                core::FileLocations::shared().resources, std::vector<std::string>{"en"}));
            return true;
        }();
        (void)once;
    }
};

} // namespace bench
