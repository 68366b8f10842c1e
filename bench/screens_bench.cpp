// links: problemsets shell components platform_host
//
// Frames of the game's screens while they move, at each device and scale: the home carousel under a
// dragging finger and settling after a flick, the zoom from home into a topic, the tutorial's pager
// moving and its demonstrations playing, the information screen and the licences scrolling under a
// finger, and the mastery panel; a settings screen of 200 rows scrolling, and taking in an outside
// change; a problem set of 200 problems scrolling. A frame has 16 ms.

#include "bench/GameBench.h"
#include "components/SettingsKit/STKAppSettingsViewController.h"
#include "platform/core/DictionaryFile.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"
#include "problemsets/screens/MasterListViewController.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "shell/home/HomeViewController.h"
#include "shell/info/InfoViewController.h"
#include "shell/info/LicensesViewController.h"
#include "shell/intro/IntroViewController.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

// Phone and tablet, at scales 1 and 2.
const std::vector<std::vector<int64_t>> kDevices = {{0, 1}, {1, 2}};

// The middle of `view`, in window points.
core::Point middleInWindow(const ui::View& view) {
    const core::Rect frame = view.convertRectToView(view.bounds(), nullptr);
    return {frame.midX(), frame.midY()};
}

// Times frames while `moving()` holds; whenever it stops, `restart()` sets it going again untimed.
template <class Moving, class Restart>
void timeFramesWhile(benchmark::State& state, bench::Game& game, Moving moving, Restart restart) {
    restart();
    for (auto _ : state) {
        if (!moving()) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
        game.host.advance(bench::kFrame);
    }
}

// Times frames under a finger held on `view` that moves `step` points a frame, turning back every
// second.
void timeFramesOfDrag(benchmark::State& state, bench::Game& game, const ui::View& view, core::Point step) {
    const core::Point start = middleInWindow(view);
    game.host.touchDown(start);
    core::Point finger = start;
    int frame = 0;
    for (auto _ : state) {
        const float direction = (frame++ / 60) % 2 ? -1.0f : 1.0f;
        finger = {finger.x + direction * step.x, finger.y + direction * step.y};
        game.host.touchMove(finger);
        game.host.advance(bench::kFrame);
    }
    game.host.touchUp(finger);
}

void BM_HomeDragFrame(benchmark::State& state) {
    bench::Game game(state);
    const auto home = game.screen<zm::HomeViewController>();
    timeFramesOfDrag(state, game, *home->collectionView(), {-8, 0});
}
BENCHMARK(BM_HomeDragFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// The carousel coasting and coming to rest after flicks, to the left and back.
void BM_HomeSettleFrame(benchmark::State& state) {
    bench::Game game(state);
    const auto carousel = game.screen<zm::HomeViewController>()->collectionView();
    core::Point lastOffset = carousel->contentOffset();
    float direction = -1;
    const auto settling = [&] {
        const core::Point offset = carousel->contentOffset();
        return std::exchange(lastOffset, offset) != offset;
    };
    const auto flick = [&] {
        core::Point finger = middleInWindow(*carousel);
        game.host.touchDown(finger);
        for (int frame = 0; frame < 4; ++frame) {
            finger.x += direction * 40;
            game.host.advance(bench::kFrame);
            game.host.touchMove(finger);
        }
        game.host.touchUp(finger);
        direction = -direction;
        game.host.advance(bench::kFrame);
        lastOffset = {-1, -1}; // the frames from the release on count
    };
    timeFramesWhile(state, game, settling, flick);
}
BENCHMARK(BM_HomeSettleFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

void BM_ZoomIntoTopicFrame(benchmark::State& state) {
    bench::Game game(state);
    zm::ContainerViewController& container = game.container();
    timeFramesWhile(
        state, game, [&] { return container.isTransitioning(); },
        [&] {
            if (!game.screen<zm::HomeViewController>()) {
                container.goHome();
                game.host.advance(1.5);
            }
            container.goToTopic(zm::Topic(std::string(zm::AlgebraTopicCommutation)));
        });
}
BENCHMARK(BM_ZoomIntoTopicFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// The tutorial's pager moving from slide to slide, there and back, with the demonstrations playing.
void BM_IntroPagerFrame(benchmark::State& state) {
    bench::Game game(state, bench::Game::Intro::Shown);
    const auto intro = game.screen<zm::IntroViewController>();
    if (!intro)
        return state.SkipWithError("no tutorial");
    const auto pager = intro->collectionView();
    bool forward = true;
    timeFramesWhile(
        state, game, [&] { return pager->indexPathsForVisibleItems().size() > 1; },
        [&] {
            const auto visible = pager->indexPathsForVisibleItems();
            const int slide = visible.empty() ? 0 : visible.front().item;
            if (slide == zm::IntroViewController::kLastSlide - 1)
                forward = false;
            else if (slide == 0)
                forward = true;
            forward ? intro->hitNext() : intro->hitBack();
            game.host.advance(bench::kFrame);
        });
}
BENCHMARK(BM_IntroPagerFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// The first demonstration slide at rest, its little player playing.
void BM_IntroDemonstrationFrame(benchmark::State& state) {
    bench::Game game(state, bench::Game::Intro::Shown);
    const auto intro = game.screen<zm::IntroViewController>();
    if (!intro)
        return state.SkipWithError("no tutorial");
    intro->hitNext();
    game.host.advance(1);
    for (auto _ : state)
        game.host.advance(bench::kFrame);
}
BENCHMARK(BM_IntroDemonstrationFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// The information screen, opened from home; null when it did not come.
std::shared_ptr<zm::InfoViewController> openInfo(bench::Game& game) {
    game.screen<zm::HomeViewController>()->hitInfo();
    game.host.advance(1.5);
    return game.screen<zm::InfoViewController>();
}

void BM_InfoScrollFrame(benchmark::State& state) {
    bench::Game game(state);
    const auto info = openInfo(game);
    if (!info)
        return state.SkipWithError("no information screen");
    timeFramesOfDrag(state, game, *info->scrollView(), {0, -4});
}
BENCHMARK(BM_InfoScrollFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

void BM_LicensesScrollFrame(benchmark::State& state) {
    bench::Game game(state);
    const auto info = openInfo(game);
    if (!info)
        return state.SkipWithError("no information screen");
    info->hitLicenses();
    game.host.advance(1.5);
    const auto licenses = dynamic_cast<zm::LicensesViewController*>(info->presentedViewController());
    if (!licenses || !licenses->textView())
        return state.SkipWithError("no licences");
    timeFramesOfDrag(state, game, *licenses->textView(), {0, -8});
}
BENCHMARK(BM_LicensesScrollFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// The panel of a mastered topic, over the turning sunbursts of the problem that mastered it.
void BM_MasteryFrame(benchmark::State& state) {
    bench::Game game(state);
    zm::TopicStatsDataController& store = zm::TopicStatsDataController::sharedInstance();
    const std::string_view topic = zm::AlgebraTopicCommutation;
    for (const auto& [difficulty, left] :
         {std::pair{zm::AlgebraDifficultyNovice, 0u}, std::pair{zm::AlgebraDifficultyMaster, 1u}}) {
        store.selectDifficulty(difficulty, topic);
        for (uint32_t solved = left;
             solved < zm::TopicStatsDataController::numProblemsForTopic(topic, difficulty); ++solved)
            store.problemCompletedForTopic(topic);
    }
    game.openTopic(topic);
    const auto screen = game.screen<zm::PlaygroundViewController>();
    game.solve(*screen);
    if (!screen->masteryView() || !screen->masteryView()->superview())
        return state.SkipWithError("the topic was not mastered");
    for (auto _ : state)
        game.host.advance(bench::kFrame);
}
BENCHMARK(BM_MasteryFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// A settings screen of 200 rows (switches, fields, choices and titles, in groups of ten) over the
// game's window, its values in the standard user defaults, which hold 1000 keys.
struct SettingsScreen {
    explicit SettingsScreen(bench::Game& game) {
        core::Array rows;
        for (int row = 0; row < 200; ++row) {
            if (row % 10 == 0)
                rows.push_back(core::Dictionary{{"Type", "PSGroupSpecifier"}, {"Title", "Group " + std::to_string(row / 10)}});
            const std::string key = "key" + std::to_string(row * 5);
            const char* types[] = {"PSToggleSwitchSpecifier", "PSTextFieldSpecifier", "PSMultiValueSpecifier",
                                   "PSTitleValueSpecifier"};
            rows.push_back(core::Dictionary{{"Type", types[row % 4]},
                                            {"Key", key},
                                            {"Title", "Setting " + std::to_string(row)},
                                            {"DefaultValue", 1},
                                            {"Values", core::Array{0, 1}},
                                            {"Titles", core::Array{"Off", "On"}}});
        }
        (void)core::writeDictionaryFile(folder.path() / "Settings.bundle/Root.plist",
                                        core::Dictionary{{"PreferenceSpecifiers", std::move(rows)}});
        for (int key = 0; key < 1000; ++key)
            core::UserDefaults::standard().setInteger(key % 2, "key" + std::to_string(key));
        screen->setApplicationBundle(folder.path());
        game.host.window().setRootViewController(ui::NavigationController::create(screen));
        game.host.advance(1);
    }

    core::TemporaryFolder folder;
    std::shared_ptr<zm::STKAppSettingsViewController> screen = zm::STKAppSettingsViewController::create();
};

void BM_SettingsScrollFrame(benchmark::State& state) {
    bench::Game game(state);
    SettingsScreen settings(game);
    timeFramesOfDrag(state, game, *settings.screen->tableView(), {0, -8});
}
BENCHMARK(BM_SettingsScrollFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// One key of the 1000 changes outside the screen, which finds its row and reloads it, every frame.
void BM_SettingsOutsideChangeFrame(benchmark::State& state) {
    bench::Game game(state);
    SettingsScreen settings(game);
    int value = 0;
    for (auto _ : state) {
        core::UserDefaults::standard().setInteger(++value % 2, "key50");
        game.host.advance(bench::kFrame);
    }
}
BENCHMARK(BM_SettingsOutsideChangeFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

// A problem set of 200 problems scrolled through by a finger, stroke after stroke, from end to end and
// back: every few frames a row comes into sight and its problem is drawn.
void BM_ProblemSetScrollFrame(benchmark::State& state) {
    bench::Game game(state);
    const std::filesystem::path folder = core::FileLocations::shared().documents / "ProblemLists";
    std::filesystem::create_directories(folder);
    std::ofstream set(folder / "Long.problemlist");
    for (int i = 0; i < 200; ++i)
        set << (i % 9 + 2) << "x + " << (i % 7 + 1) << " = " << (i % 5 + 3) << "(x - " << (i % 4 + 1) << ")\n";
    set.close();
    game.openTopic(zm::AlgebraTopicCustom);
    const auto list = game.screen<zm::MasterListViewController>();
    if (!list || list->shownURLs().empty())
        return state.SkipWithError("no list of sets");
    list->didSelectItem(*list->collectionView(), {0, 0});
    game.host.advance(1.5);
    const auto screen = game.screen<zm::ProblemListViewController>();
    if (!screen || screen->totalRows() != 200)
        return state.SkipWithError("the set did not open");
    const std::shared_ptr<ui::CollectionView> collection = screen->collectionView();
    const core::Point middle = middleInWindow(*collection);
    const float stroke = collection->bounds().height() / 3;
    float direction = -1;
    core::Point finger = middle;
    int frame = 0;
    float farthest = 0;
    for (auto _ : state) {
        // A stroke of ten frames, then the finger lifts and lands again.
        if (frame % 10 == 0) {
            game.host.touchUp(finger);
            const float offset = collection->contentOffset().y;
            if (offset <= 0)
                direction = -1;
            else if (offset >= collection->contentSize().height - collection->bounds().height())
                direction = 1;
            finger = {middle.x, middle.y - direction * stroke / 2};
            game.host.touchDown(finger);
        }
        finger.y += direction * stroke / 10;
        game.host.touchMove(finger);
        game.host.advance(bench::kFrame);
        ++frame;
        farthest = std::max(farthest, collection->contentOffset().y);
    }
    game.host.touchUp(finger);
    // How far down the set the finger got, in rows.
    state.counters["rows"] = std::floor(farthest / collection->flowLayout().itemSize.height);
}
BENCHMARK(BM_ProblemSetScrollFrame)->ArgsProduct(kDevices)->Unit(benchmark::kMillisecond);

} // namespace
