#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixMovie.h"
#include "framework/Source/PixMovieComposition.h"
#include "framework/Source/PixMovieTestSupport.h"
#include "framework/Source/PixMovieWriter.h"
#include "framework/Source/PixRawDataOutput.h"
#include "framework/Source/PixRenderTarget.h"
#include "framework/Source/PixTextureCopy.h"
#include "platform/core/Log.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetReader.h"
#include "platform/gfx/Image.h"
#include "platform/media/Composition.h"
#include "platform/media/DisplayLink.h"
#include "platform/media/PlayerItem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <mutex>
#include <thread>

namespace zm {
namespace {

using pixtest::FrameLog;
using pixtest::Rgba;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

PixFrameTime frameTime(int frame) {
    return PixFrameTime::make(frame, 30);
}

Rgba colourOf(int frame) {
    return {static_cast<std::uint8_t>(20 + frame * 20), static_cast<std::uint8_t>(200 - frame * 15), 90, 255};
}

// A movie of `count` frames, each of its own colour.
std::filesystem::path colourMovie(const core::TemporaryFolder& folder, const std::string& name, int count,
                                  int width = kWidth, int height = kHeight) {
    pixtest::MovieRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    for (int frame = 0; frame < count; ++frame)
        recipe.pictures.push_back(pixtest::solidPicture(width, height, colourOf(frame)));
    const auto path = folder.path() / name;
    EXPECT_TRUE(pixtest::writeMovie(path, recipe));
    return path;
}

std::shared_ptr<media::Asset> openAsset(const std::filesystem::path& path) {
    auto asset = media::Asset::open(path);
    EXPECT_TRUE(asset) << path;
    return asset ? *asset : nullptr;
}

// Hears the end of a movie; waits for it.
class EndDelegate : public PixMovieDelegate {
public:
    void didCompletePlayingMovie() override {
        const std::lock_guard lock(m_mutex);
        ++m_count;
        m_ended.notify_all();
    }
    int count() const {
        const std::lock_guard lock(m_mutex);
        return m_count;
    }
    bool waitForEnd() {
        std::unique_lock lock(m_mutex);
        return m_ended.wait_for(lock, std::chrono::seconds(20), [&] { return m_count > 0; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    int m_count = 0;
};

TEST(PixMovie, DeliversEveryFrameWithItsTimeThenEndsTwiceForTargetsAndOnceForTheDelegate) {
    core::TemporaryFolder folder;
    const auto movie = PixMovie::create(colourMovie(folder, "colours.mov", 8));
    auto log = std::make_shared<FrameLog>();
    EndDelegate delegate;
    movie->addTarget(log);
    movie->setDelegate(&delegate);
    movie->startProcessing();
    ASSERT_TRUE(delegate.waitForEnd());
    // The second end comes once the reader has reported its completion, after the delegate has heard.
    for (int tries = 0; tries < 5000 && log->endCount() < 2; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    const auto frames = log->frames();
    ASSERT_EQ(frames.size(), 8u);
    for (int frame = 0; frame < 8; ++frame) {
        EXPECT_EQ(frames[frame].time, frameTime(frame));
        EXPECT_EQ(frames[frame].size, (core::Size{kWidth, kHeight}));
        EXPECT_TRUE(pixtest::colourNear(frames[frame].centre, colourOf(frame), 6)) << "frame " << frame;
    }
    // When the track runs dry, and again when the reader reports it has completed.
    EXPECT_EQ(log->endCount(), 2);
    EXPECT_EQ(delegate.count(), 1);
}

TEST(PixMovie, GreyAndColourBarsComeBackWithinAFewLevelsUnderBothMatrices) {
    // Eight bars, with mid grey among them: a conversion that takes full-range pictures for video range
    // brightens grey 128 to about 149.
    const Rgba bars[] = {{128, 128, 128, 255}, {191, 191, 0, 255}, {0, 191, 191, 255}, {0, 191, 0, 255},
                         {191, 0, 191, 255},   {191, 0, 0, 255},   {0, 0, 191, 255},   {16, 16, 16, 255}};
    std::vector<Rgba> picture;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.push_back(bars[x / 8]);
    for (const bool bt709 : {false, true}) {
        core::TemporaryFolder folder;
        pixtest::MovieRecipe recipe;
        recipe.pictures = {picture, picture};
        recipe.bt709 = bt709;
        ASSERT_TRUE(pixtest::writeMovie(folder.path() / "bars.mov", recipe));

        const auto movie = PixMovie::create(openAsset(folder.path() / "bars.mov"));
        const auto output = PixRawDataOutput::create({kWidth, kHeight}, false);
        movie->addTarget(output);
        movie->startProcessing(); // an asset plays on this thread
        for (int bar = 0; bar < 8; ++bar) {
            const GPUByteColorVector colour = output->colorAtLocation({bar * 8.0f + 4, kHeight / 2.0f});
            const Rgba expected = bars[bar];
            EXPECT_NEAR(colour.red, expected[0], 6) << (bt709 ? "BT.709" : "BT.601") << " bar " << bar;
            EXPECT_NEAR(colour.green, expected[1], 6) << (bt709 ? "BT.709" : "BT.601") << " bar " << bar;
            EXPECT_NEAR(colour.blue, expected[2], 6) << (bt709 ? "BT.709" : "BT.601") << " bar " << bar;
        }
    }
}

TEST(PixMovie, AtActualSpeedAFrameComesNoEarlierThanItsDistanceOnTheClock) {
    core::TemporaryFolder folder;
    pixtest::MovieRecipe recipe;
    for (int frame = 0; frame < 3; ++frame) {
        recipe.pictures.push_back(pixtest::solidPicture(kWidth, kHeight, colourOf(frame)));
        recipe.times.push_back(PixFrameTime::make(frame * 40, 1000));
    }
    ASSERT_TRUE(pixtest::writeMovie(folder.path() / "paced.mov", recipe));

    const auto clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop(clock);
    const auto movie = PixMovie::create(openAsset(folder.path() / "paced.mov"));
    movie->setPlayAtActualSpeed(true);
    auto log = std::make_shared<FrameLog>();
    std::vector<core::TimePoint> arrivals; // guarded by the frame log's order: written on the queue
    log->onFrame = [&](int) { arrivals.push_back(clock->now()); };
    movie->addTarget(log);
    const core::TimePoint start = clock->now();
    std::thread player([&] { movie->startProcessing(); });

    const auto waitForFrames = [&](std::size_t count, std::chrono::milliseconds patience) {
        const auto until = std::chrono::steady_clock::now() + patience;
        while (log->frames().size() < count && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return log->frames().size() >= count;
    };
    ASSERT_TRUE(waitForFrames(1, std::chrono::seconds(5))) << "the first frame is due at once";
    for (int frame = 1; frame < 3; ++frame) {
        clock->advanceTo(start + std::chrono::milliseconds(40 * frame - 1));
        EXPECT_FALSE(waitForFrames(frame + 1, std::chrono::milliseconds(30))) << "frame " << frame << " came early";
        clock->advanceTo(start + std::chrono::milliseconds(40 * frame));
        ASSERT_TRUE(waitForFrames(frame + 1, std::chrono::seconds(5))) << "frame " << frame;
    }
    player.join();
    ASSERT_EQ(arrivals.size(), 3u);
    for (int frame = 1; frame < 3; ++frame)
        EXPECT_EQ(arrivals[frame] - start, std::chrono::milliseconds(40 * frame));
}

TEST(PixMovie, RepeatsWithANewReaderUntilEndProcessing) {
    core::TemporaryFolder folder;
    const auto clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop(clock);
    const auto movie = PixMovie::create(openAsset(colourMovie(folder, "loop.mov", 3)));
    movie->setShouldRepeat(true);
    auto log = std::make_shared<FrameLog>();
    std::vector<std::shared_ptr<media::AssetReader>> readers;
    log->onFrame = [&](int count) {
        readers.push_back(movie->assetReader());
        if (count == 7)
            movie->endProcessing();
    };
    movie->addTarget(log);
    movie->startProcessing();
    loop.runUntilIdle(); // each pass queues the next on the main queue

    const auto frames = log->frames();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[3].time, frameTime(0)) << "the second pass starts over";
    EXPECT_EQ(frames[6].time, frameTime(0));
    EXPECT_NE(readers[0], readers[3]);
    EXPECT_NE(readers[3], readers[6]);
    EXPECT_EQ(readers[3], readers[5]);
}

TEST(PixMovie, PullModeReencodesAMovieFrameForFrameThenTheWritersCallbacksAnswerNo) {
    core::TemporaryFolder folder;
    const auto movie = PixMovie::create(colourMovie(folder, "source.mov", 10));
    const auto writer = PixMovieWriter::create(folder.path() / "copy.mov", {kWidth, kHeight});
    std::promise<void> finished;
    PixMovieWriter* const writing = writer.get();
    writer->setCompletionBlock([&] { writing->finishRecordingWithCompletionHandler([&] { finished.set_value(); }); });
    EndDelegate delegate;
    movie->setDelegate(&delegate);
    movie->addTarget(writer);
    movie->enableSynchronizedEncodingUsingMovieWriter(writer);
    EXPECT_FALSE(writer->encodingLiveVideo());
    writer->startRecording();
    movie->startProcessing();
    ASSERT_EQ(finished.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    ASSERT_TRUE(delegate.waitForEnd()) << "the callbacks are replaced before the delegate hears of the end";

    const auto copy = pixtest::readMovie(folder.path() / "copy.mov");
    ASSERT_EQ(copy.frames.size(), 10u);
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_EQ(copy.frames[frame].time, frameTime(frame));
        EXPECT_TRUE(pixtest::colourNear(copy.frames[frame].pixel(32, 24), colourOf(frame), 8)) << "frame " << frame;
    }
    ASSERT_TRUE(writer->videoInputReadyCallback());
    EXPECT_FALSE(writer->videoInputReadyCallback()());
    EXPECT_FALSE(writer->audioInputReadyCallback()());
}

TEST(PixMovie, MonochromeTargetsGetTheLuminanceTexture) {
    core::TemporaryFolder folder;
    const auto movie = PixMovie::create(openAsset(colourMovie(folder, "colour.mov", 1)));
    auto log = std::make_shared<FrameLog>();
    log->wantsMonochrome = true;
    movie->addTarget(log);
    movie->startProcessing();
    const auto frames = log->frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].monochrome);
    // Luma alone: grey, as bright as the colour's luma.
    const Rgba colour = colourOf(0);
    const int luma = static_cast<int>(0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]);
    EXPECT_EQ(frames[0].centre[0], frames[0].centre[1]);
    EXPECT_EQ(frames[0].centre[1], frames[0].centre[2]);
    EXPECT_NEAR(frames[0].centre[0], luma, 4);
}

TEST(PixMovie, ATwoPartCompositionPlaysBothInOrderAtItsRenderSize) {
    core::TemporaryFolder folder;
    const Rgba red{210, 20, 20, 255};
    const Rgba blue{20, 20, 210, 255};
    pixtest::MovieRecipe first;
    first.pictures.assign(6, pixtest::solidPicture(kWidth, kHeight, red));
    ASSERT_TRUE(pixtest::writeMovie(folder.path() / "red.mov", first));
    pixtest::MovieRecipe second;
    second.width = 32;
    second.height = 24;
    second.pictures.assign(6, pixtest::solidPicture(32, 24, blue));
    ASSERT_TRUE(pixtest::writeMovie(folder.path() / "blue.mov", second));

    // The last four frames of the red movie, then the first four of the blue one.
    const auto composition = media::Composition::create(
        {{openAsset(folder.path() / "red.mov"), frameTime(2), frameTime(4)},
         {openAsset(folder.path() / "blue.mov"), PixFrameTime::zero(), frameTime(4)}});
    ASSERT_TRUE(composition);
    const auto movie = PixMovieComposition::create(composition, {{48, 36}, frameTime(1), 2.0f}, {});
    auto log = std::make_shared<FrameLog>();
    movie->addTarget(log);
    movie->startProcessing();

    const auto frames = log->frames();
    ASSERT_EQ(frames.size(), 8u);
    for (int frame = 0; frame < 8; ++frame) {
        EXPECT_EQ(frames[frame].time, frameTime(frame));
        EXPECT_EQ(frames[frame].size, (core::Size{48, 36})) << "render scale 1";
        EXPECT_TRUE(pixtest::colourNear(frames[frame].centre, frame < 4 ? red : blue, 8)) << "frame " << frame;
    }
    EXPECT_EQ(log->endCount(), 2);
}

TEST(PixMovie, AFileThatIsNotAMovieIsLoggedAndPlaysNothing) {
    core::TemporaryFolder folder;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder.path() / name, std::ios::binary) << bytes;
        return folder.path() / name;
    };
    const auto real = colourMovie(folder, "real.mov", 5);
    std::ifstream realFile(real, std::ios::binary);
    const std::string realBytes((std::istreambuf_iterator<char>(realFile)), std::istreambuf_iterator<char>());
    pixtest::MovieRecipe soundOnly;
    soundOnly.toneSeconds = 0.2;
    ASSERT_TRUE(pixtest::writeMovie(folder.path() / "sound.mov", soundOnly));

    const std::filesystem::path cases[] = {
        write("empty.mov", ""),
        write("truncated.mov", realBytes.substr(0, realBytes.size() / 2)),
        write("text.mov", "These are the minutes of the meeting, not a movie.\n"),
        folder.path() / "sound.mov",
        folder.path() / "missing.mov",
    };
    for (const auto& path : cases) {
        core::LogCapture capture;
        const auto movie = PixMovie::create(path);
        auto log = std::make_shared<FrameLog>();
        EndDelegate delegate;
        movie->addTarget(log);
        movie->setDelegate(&delegate);
        movie->startProcessing();
        const std::string expected = "Error reading from file at URL: " + path.string();
        for (int tries = 0; tries < 2000 && !capture.contains(expected); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(capture.contains(expected)) << path.filename();
        runSynchronouslyOnContextQueue([] {});
        EXPECT_TRUE(log->frames().empty()) << path.filename();
        EXPECT_EQ(log->endCount(), 0) << path.filename();
        EXPECT_EQ(delegate.count(), 0) << path.filename();
    }
}

TEST(PixMovie, PlaysAPlayerItemAtEveryDisplayRefresh) {
    core::TemporaryFolder folder;
    const auto clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop(clock);
    const auto item = media::PlayerItem::create(openAsset(colourMovie(folder, "item.mov", 6)), clock);
    const auto movie = PixMovie::create(item);
    auto log = std::make_shared<FrameLog>();
    movie->addTarget(log);
    movie->startProcessing();
    clock->advanceBy(std::chrono::milliseconds(100));
    EXPECT_FALSE(clock->nextDeadline()) << "the link waits for the item to play";
    EXPECT_TRUE(log->frames().empty()) << "nothing before the item plays";

    // The link starts on its own queue when the item's pictures begin to change, and every refresh
    // arms the next one only once its frame is delivered: waiting for the armed refresh keeps the
    // test in step with the link without sleeping.
    item->play();
    ASSERT_TRUE(clock->awaitPending(1)) << "the link starts";
    for (int refresh = 0; refresh < 12; ++refresh) {
        clock->advanceBy(media::DisplayLink::kRefreshInterval);
        ASSERT_TRUE(clock->awaitPending(1)) << "refresh " << refresh;
    }
    const auto frames = log->frames();
    // Each refresh shows the frame due by the next refresh: 2/60 s for the first, when frames 0 and 1
    // are both due, so the movie shows 1, then every later frame once.
    ASSERT_EQ(frames.size(), 5u);
    for (int frame = 1; frame < 6; ++frame)
        EXPECT_TRUE(pixtest::colourNear(frames[frame - 1].centre, colourOf(frame), 6)) << "frame " << frame;
    movie->endProcessing();
}

TEST(PixMovie, AMovieFrameThroughAGaussianBlurIsKeptAsAPicture) {
    core::TemporaryFolder folder;
    pixtest::MovieRecipe recipe;
    recipe.width = 128;
    recipe.height = 96;
    std::vector<Rgba> picture;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 128; ++x)
            picture.push_back(x >= 40 && x < 88 && y >= 24 && y < 72 ? Rgba{230, 200, 30, 255} : Rgba{20, 40, 120, 255});
    recipe.pictures = {picture};
    ASSERT_TRUE(pixtest::writeMovie(folder.path() / "square.mov", recipe));

    const auto movie = PixMovie::create(openAsset(folder.path() / "square.mov"));
    auto blur = PixGaussianBlurFilter::create();
    blur->setBlurSize(3);
    movie->addTarget(blur);
    movie->startProcessing();
    const auto image = blur->imageFromCurrentlyProcessedOutput();
    ASSERT_TRUE(image);
    pixtest::keepPicture(*image, "movie-frame-blurred");
    const gfx::Pixel middle = image->bitmap().pixel(64, 48);
    const gfx::Pixel edge = image->bitmap().pixel(40, 48);
    const gfx::Pixel outside = image->bitmap().pixel(5, 5);
    EXPECT_NEAR(middle.red, 230, 8);
    EXPECT_NEAR(outside.blue, 120, 8);
    EXPECT_GT(edge.red, 60) << "the square's edge is soft";
    EXPECT_LT(edge.red, 200) << "the square's edge is soft";
}

} // namespace
} // namespace zm
