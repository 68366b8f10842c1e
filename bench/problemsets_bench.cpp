// links: problemsets
// Problem sets on disk: opening a set (reading and parsing every line) and saving it (writing it whole,
// flushed to the disk), at 100 problems (one frame's budget is 16.7 ms) and 1000; listing a folder of
// 500 sets.

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/documents/testing/DocumentTesting.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/store/QVDocumentDataController.h"

#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

namespace {

using namespace zm;

// A set of `count` problems of the kinds players type: equations, fractions, powers, products.
std::string setText(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string a = std::to_string(i % 9 + 2);
        const std::string b = std::to_string(i % 7 + 1);
        switch (i % 4) {
        case 0:
            text += a + "x + " + b + " = " + b + "x - " + a + "\n";
            break;
        case 1:
            text += "(" + a + "x^2 * " + b + "y) / (" + b + "x)\n";
            break;
        case 2:
            text += a + "(x + " + b + ") + 3(x - 1)\n";
            break;
        default:
            text += "x^" + b + " * x^" + a + " * y\n";
            break;
        }
    }
    return text;
}

struct Disk {
    core::TemporaryFolder folder;
    core::MainLoop loop{std::make_shared<core::ManualClock>()};

    std::shared_ptr<ProblemListDocument> open(const std::filesystem::path& url) {
        auto document = ProblemListDocument::create(url);
        document->open({});
        documents::testing::settle(loop);
        return document;
    }
};

void BM_OpenSet(benchmark::State& state) {
    Disk disk;
    const std::filesystem::path url = disk.folder.path() / "Set.problemlist";
    if (!core::writeFileAtomically(url, setText(int(state.range(0)))).ok())
        return state.SkipWithError("cannot write the set");
    for (auto _ : state) {
        const std::shared_ptr<ProblemListDocument> document = disk.open(url);
        if (document->totalProblems() != size_t(state.range(0)))
            return state.SkipWithError("the set did not open");
    }
}
BENCHMARK(BM_OpenSet)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveSet(benchmark::State& state) {
    Disk disk;
    const std::filesystem::path url = disk.folder.path() / "Set.problemlist";
    if (!core::writeFileAtomically(url, setText(int(state.range(0)))).ok())
        return state.SkipWithError("cannot write the set");
    const std::shared_ptr<ProblemListDocument> document = disk.open(url);
    for (auto _ : state) {
        bool saved = false;
        document->save(documents::SaveOperation::ForOverwriting, [&](bool success) { saved = success; });
        documents::testing::settle(disk.loop);
        if (!saved)
            return state.SkipWithError("the set did not save");
    }
}
BENCHMARK(BM_SaveSet)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ListSets(benchmark::State& state) {
    Disk disk;
    core::FileLocations locations = core::FileLocations::underRoot(disk.folder.path(), {});
    const std::filesystem::path sets = locations.documents / "ProblemLists";
    std::filesystem::create_directories(sets);
    for (int i = 0; i < state.range(0); ++i)
        std::ofstream(sets / ("Set " + std::to_string(i) + ".problemlist"));
    core::FileLocations::setShared(locations);
    core::UserDefaults::setStandard(std::make_shared<core::UserDefaults>(disk.folder.path() / "defaults.plist"));
    // No cloud: the device's folder is listed.
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::create();
    documents::testing::settle(disk.loop);
    for (auto _ : state) {
        store->loadDocumentURLs();
        if (store->documentURLs().size() != size_t(state.range(0)))
            return state.SkipWithError("the sets were not listed");
    }
}
BENCHMARK(BM_ListSets)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
