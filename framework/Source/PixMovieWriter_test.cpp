#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixMovieTestSupport.h"
#include "framework/Source/PixMovieWriter.h"
#include "platform/core/Log.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/SampleBuffer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <future>
#include <numbers>
#include <thread>

namespace zm {
namespace {

using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr Rgba kBlue{0, 0, 200, 255};
constexpr Rgba kRed{220, 0, 0, 255};

PixFrameTime frameTime(int frame) {
    return PixFrameTime::make(frame, 30);
}

// A red 16 x 16 square on blue, moved one pixel to the right a frame.
std::vector<Rgba> squareAt(int frame) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(x >= 10 + frame && x < 26 + frame && y >= 16 && y < 32 ? kRed : kBlue);
    return pixels;
}

// Frame k of a run of solid colours, each far from its neighbours.
Rgba colourOf(int frame) {
    return {static_cast<std::uint8_t>(15 + frame * 16), static_cast<std::uint8_t>(240 - frame * 16),
            static_cast<std::uint8_t>(frame % 2 ? 180 : 60), 255};
}

int nearestColour(Rgba colour, int count) {
    int nearest = 0;
    int best = 1 << 30;
    for (int frame = 0; frame < count; ++frame) {
        const Rgba candidate = colourOf(frame);
        int distance = 0;
        for (int channel = 0; channel < 3; ++channel)
            distance += std::abs(colour[channel] - candidate[channel]);
        if (distance < best) {
            best = distance;
            nearest = frame;
        }
    }
    return nearest;
}

// Waits for the writer to complete its file.
void finish(PixMovieWriter& writer) {
    std::promise<void> done;
    writer.finishRecordingWithCompletionHandler([&] { done.set_value(); });
    done.get_future().wait();
}

// Feeds frames to a writer through a still source, one push a frame.
struct Recording {
    core::TemporaryFolder folder;
    std::filesystem::path path = folder.path() / "movie.mov";
    std::shared_ptr<PixTestImageSource> source = PixTestImageSource::create(kWidth, kHeight, squareAt(0));
    std::shared_ptr<PixMovieWriter> writer;

    explicit Recording(std::optional<core::Dictionary> settings = std::nullopt) {
        writer = settings ? PixMovieWriter::create(path, {kWidth, kHeight}, media::FileType::QuickTimeMovie, settings)
                          : PixMovieWriter::create(path, {kWidth, kHeight});
    }

    void push(const std::vector<Rgba>& pixels, PixFrameTime time) {
        source->replacePixels(pixels);
        source->push(time);
        runSynchronouslyOnContextQueue([] {});
    }
};

core::Dictionary fileWriterSettings() {
    return {{media::VideoCodecKey, media::VideoCodecH264},
            {media::VideoWidthKey, kWidth},
            {media::VideoHeightKey, kHeight},
            {PixMovieWriter::EncodingLiveVideoKey, false}};
}

TEST(PixMovieWriter, RecordsAMovingSquareFrameForFrame) {
    Recording recording(fileWriterSettings());
    ASSERT_TRUE(recording.writer);
    recording.source->addTarget(recording.writer);
    recording.writer->startRecording();
    for (int frame = 0; frame < 30; ++frame)
        recording.push(squareAt(frame), frameTime(frame));
    finish(*recording.writer);

    const auto movie = pixtest::readMovie(recording.path);
    EXPECT_EQ(movie.videoCodec, "h264");
    EXPECT_EQ(movie.videoSize, (core::Size{kWidth, kHeight}));
    ASSERT_EQ(movie.frames.size(), 30u);
    const pixtest::MovieFrame& middle = movie.frames[15];
    EXPECT_EQ(middle.time, frameTime(15));
    EXPECT_TRUE(pixtest::colourNear(middle.pixel(10 + 15 + 8, 24), kRed, 16)) << "inside the square";
    EXPECT_TRUE(pixtest::colourNear(middle.pixel(10 + 15 - 3, 24), kBlue, 16)) << "left of it";
    EXPECT_TRUE(pixtest::colourNear(middle.pixel(10 + 15 + 19, 24), kBlue, 16)) << "right of it";
    EXPECT_TRUE(pixtest::colourNear(middle.pixel(4, 4), kBlue, 16)) << "the top-left corner";
}

TEST(PixMovieWriter, RecordsABlurredSquareWithItsLengthAndFrameCount) {
    Recording recording(fileWriterSettings());
    auto blur = PixGaussianBlurFilter::create();
    blur->setBlurSize(2);
    recording.source->addTarget(blur);
    blur->addTarget(recording.writer);
    recording.writer->startRecording();
    for (int frame = 0; frame < 30; ++frame)
        recording.push(squareAt(frame), frameTime(frame));
    EXPECT_EQ(recording.writer->duration(), frameTime(29));
    finish(*recording.writer);

    const auto movie = pixtest::readMovie(recording.path);
    ASSERT_EQ(movie.frames.size(), 30u);
    EXPECT_EQ(movie.frames.back().time, frameTime(29));
    // Blurred: the square's left edge is neither red nor blue.
    const Rgba edge = movie.frames[15].pixel(10 + 15, 24);
    EXPECT_GT(edge[0], 50);
    EXPECT_LT(edge[0], 190);
}

TEST(PixMovieWriter, RecordsASourcesSineToneAsAnAacTrackOfItsLength) {
    Recording recording(fileWriterSettings());
    recording.writer->setHasAudioTrack(true);
    recording.source->addTarget(recording.writer);
    recording.writer->startRecording();
    // Half a second of 440 Hz at the audio session's 48000 Hz, a frame of picture every 1/30 s.
    for (int frame = 0; frame < 15; ++frame) {
        std::vector<float> samples(1600);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * (frame * 1600 + i) / 48000.0f);
        recording.writer->processAudioBuffer(
            media::SampleBuffer::makeAudio({48000, 1}, std::move(samples), PixFrameTime::make(frame * 1600, 48000)));
        recording.push(squareAt(frame), frameTime(frame));
    }
    finish(*recording.writer);

    const auto movie = pixtest::readMovie(recording.path);
    EXPECT_EQ(movie.audioCodec, "aac");
    EXPECT_EQ(movie.audioSampleRate, 48000);
    EXPECT_NEAR(movie.audioSeconds, 0.5, 0.03);
    EXPECT_EQ(movie.frames.size(), 15u);
}

TEST(PixMovieWriter, IgnoresRepeatedInvalidAndIndefiniteTimesAndFramesWhileNotRecording) {
    Recording recording(fileWriterSettings());
    recording.source->addTarget(recording.writer);
    recording.push(squareAt(0), frameTime(0)); // not recording yet
    EXPECT_EQ(recording.writer->duration(), PixFrameTime::zero()) << "no session yet";
    recording.writer->startRecording();
    for (const PixFrameTime time : {frameTime(1), frameTime(1), PixFrameTime::invalidTime(),
                                    PixFrameTime::indefiniteTime(), PixFrameTime::make(4, 60), frameTime(3)})
        recording.push(squareAt(0), time);
    EXPECT_EQ(recording.writer->duration(), frameTime(2));
    finish(*recording.writer);
    const auto movie = pixtest::readMovie(recording.path);
    ASSERT_EQ(movie.frames.size(), 3u);
    EXPECT_EQ(movie.frames[1].time, frameTime(1)) << "times count from the first frame recorded";
}

TEST(PixMovieWriter, TheSessionStartsAtTheFirstOfVideoOrAudio) {
    const auto tone = [](PixFrameTime time) {
        return media::SampleBuffer::makeAudio({48000, 1}, std::vector<float>(4800, 0.25f), time);
    };
    {
        Recording recording(fileWriterSettings());
        recording.writer->setHasAudioTrack(true);
        recording.source->addTarget(recording.writer);
        recording.writer->startRecording();
        recording.writer->processAudioBuffer(tone(PixFrameTime::seconds(0.5, 600)));
        EXPECT_EQ(recording.writer->duration(), PixFrameTime::zero()) << "sound alone: up to its own start";
        recording.push(squareAt(0), PixFrameTime::seconds(0.6, 600));
        recording.push(squareAt(1), PixFrameTime::seconds(0.7, 600));
        EXPECT_EQ(recording.writer->duration(), PixFrameTime::seconds(0.2, 600));
        finish(*recording.writer);
        const auto movie = pixtest::readMovie(recording.path);
        ASSERT_EQ(movie.frames.size(), 2u);
        EXPECT_EQ(movie.frames[0].time, PixFrameTime::seconds(0.1, 600)) << "the picture starts after the sound";
    }
    {
        Recording recording(fileWriterSettings());
        recording.writer->setHasAudioTrack(true);
        recording.writer->startRecording();
        for (const double seconds : {1.0, 1.1, 1.2})
            recording.writer->processAudioBuffer(tone(PixFrameTime::seconds(seconds, 600)));
        EXPECT_EQ(recording.writer->duration(), PixFrameTime::seconds(0.2, 600)) << "sound only";
        finish(*recording.writer);
    }
}

class CountingDelegate : public PixMovieWriterDelegate {
public:
    int completed = 0;
    std::vector<core::Error> failures;
    void movieRecordingCompleted() override { ++completed; }
    void movieRecordingFailedWithError(const core::Error& error) override { failures.push_back(error); }
};

TEST(PixMovieWriter, EndProcessingCallsTheBlockOnceButTheDelegateEachTime) {
    Recording withBlock;
    int blockCalls = 0;
    withBlock.writer->setCompletionBlock([&] { ++blockCalls; });
    withBlock.writer->endProcessing();
    withBlock.writer->endProcessing();
    EXPECT_EQ(blockCalls, 1);

    Recording withDelegate;
    CountingDelegate delegate;
    withDelegate.writer->setDelegate(&delegate);
    withDelegate.writer->endProcessing();
    withDelegate.writer->endProcessing();
    EXPECT_EQ(delegate.completed, 2);
}

TEST(PixMovieWriter, RefusesSettingsWithoutAWidth) {
    core::TemporaryFolder folder;
    core::LogCapture log;
    EXPECT_FALSE(PixMovieWriter::create(folder.path() / "a.mov", {kWidth, kHeight}, media::FileType::QuickTimeMovie,
                                        core::Dictionary{{media::VideoCodecKey, media::VideoCodecH264},
                                                         {media::VideoHeightKey, kHeight}}));
    EXPECT_TRUE(log.contains("OutputSettings is missing required parameters."));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "a.mov"));
}

TEST(PixMovieWriter, AFileItCannotMakeIsReportedAndWhatComesIsIgnored) {
    core::TemporaryFolder folder;
    const auto path = folder.path() / "no such folder" / "movie.mov";
    core::LogCapture log;
    const auto writer = PixMovieWriter::create(path, {kWidth, kHeight});
    ASSERT_TRUE(writer);
    EXPECT_FALSE(writer->assetWriter());
    EXPECT_EQ(log.entries().size(), 1u);

    std::vector<core::Error> failures;
    writer->setFailureBlock([&](const core::Error& error) { failures.push_back(error); });
    writer->setHasAudioTrack(true);
    auto source = PixTestImageSource::create(kWidth, kHeight, squareAt(0));
    source->addTarget(writer);
    writer->startRecording();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].description.find("movie.mov"), std::string::npos);

    source->push(frameTime(0));
    writer->processAudioBuffer(media::SampleBuffer::makeAudio({48000, 1}, std::vector<float>(48, 0), frameTime(0)));
    runSynchronouslyOnContextQueue([] {});
    finish(*writer);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Without a failure block the delegate hears of it.
    const auto second = PixMovieWriter::create(path, {kWidth, kHeight});
    CountingDelegate delegate;
    second->setDelegate(&delegate);
    second->startRecording();
    EXPECT_EQ(delegate.failures.size(), 1u);
}

TEST(PixMovieWriter, AFileWriterWaitsForABusyEncoderAndLosesNoFrame) {
    Recording recording(fileWriterSettings());
    recording.source->addTarget(recording.writer);
    recording.writer->startRecording();
    recording.writer->assetWriter()->setEncodingHeld(true);
    core::LogCapture log;
    constexpr int kFrames = 8;
    // Queued all at once: the writer blocks the processing queue until the encoder takes more.
    for (int frame = 0; frame < kFrames; ++frame)
        recording.source->push(frameTime(frame));
    const auto input = recording.writer->assetWriter()->inputs().front();
    for (int tries = 0; tries < 1000 && input->isReadyForMoreMediaData(); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(input->isReadyForMoreMediaData());
    recording.writer->assetWriter()->setEncodingHeld(false);
    finish(*recording.writer);

    EXPECT_EQ(pixtest::readMovie(recording.path).frames.size(), static_cast<std::size_t>(kFrames));
    for (const std::string& message : log.messages())
        EXPECT_EQ(message.find("Had to drop"), std::string::npos) << message;
}

TEST(PixMovieWriter, ALiveWriterDropsWhatABusyEncoderCannotTakeAndEachFrameKeepsItsOwnPixels) {
    Recording recording; // live, as for a camera
    recording.source->addTarget(recording.writer);
    recording.writer->startRecording();
    const auto countDrops = [](const core::LogCapture& log) {
        int drops = 0;
        for (const std::string& message : log.messages())
            drops += message.find("Had to drop a video frame: {") != std::string::npos;
        return drops;
    };
    core::LogCapture log;
    const auto solid = [](int frame) {
        return std::vector<Rgba>(static_cast<std::size_t>(kWidth) * kHeight, colourOf(frame));
    };

    recording.writer->assetWriter()->setEncodingHeld(true);
    constexpr int kHeldFrames = 10;
    for (int frame = 0; frame < kHeldFrames; ++frame)
        recording.push(solid(frame), frameTime(frame));
    // Only as many as the input holds get in while the encoder is held; the rest are dropped, some at
    // the door, some when their append comes round on the writer's queue.
    const int expectedDrops = kHeldFrames - static_cast<int>(media::AssetWriterInput::kPendingSampleLimit);
    for (int tries = 0; tries < 1000 && countDrops(log) < expectedDrops; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(countDrops(log), expectedDrops);
    EXPECT_TRUE(log.contains("1: Had to drop a video frame: {9/30 = 0.300}"));

    recording.writer->assetWriter()->setEncodingHeld(false);
    constexpr int kFrames = 15;
    for (int frame = kHeldFrames; frame < kFrames; ++frame)
        recording.push(solid(frame), frameTime(frame));
    finish(*recording.writer);

    const auto movie = pixtest::readMovie(recording.path);
    EXPECT_EQ(static_cast<int>(movie.frames.size()) + countDrops(log), kFrames);
    for (const pixtest::MovieFrame& frame : movie.frames) {
        const int pushed = static_cast<int>(std::lround(frame.time.inSeconds() * 30));
        EXPECT_EQ(nearestColour(frame.pixel(32, 24), kFrames), pushed) << "the frame at " << frame.time.description();
    }
}

} // namespace
} // namespace zm
