#include "platform/media/AssetReader.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/MediaError.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBufferPool.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <numbers>

namespace media {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

core::Dictionary videoSettings(const char* codec = VideoCodecH264) {
    return {{VideoCodecKey, codec}, {VideoWidthKey, kWidth}, {VideoHeightKey, kHeight}};
}

// Waits for a writer's completion handler.
class Completion {
public:
    std::function<void()> handler() {
        return [this] {
            std::lock_guard lock(m_mutex);
            m_done = true;
            m_changed.notify_all();
        };
    }
    void wait() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_done; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
};

// A frame of a red square on blue, moved one pixel a frame to the right.
void drawSquare(PixelBuffer& buffer, int frame) {
    for (int y = 0; y < buffer.height(); ++y) {
        std::uint8_t* row = buffer.baseAddress() + y * buffer.bytesPerRow();
        for (int x = 0; x < buffer.width(); ++x) {
            const bool inside = x >= 10 + frame && x < 26 + frame && y >= 16 && y < 32;
            const std::uint8_t bgra[4] = {static_cast<std::uint8_t>(inside ? 0 : 200), 0,
                                          static_cast<std::uint8_t>(inside ? 220 : 0), 255};
            std::copy(bgra, bgra + 4, row + x * 4);
        }
    }
}

struct ReadBack {
    std::vector<std::shared_ptr<SampleBuffer>> video;
    std::size_t audioFrames = 0;
    int audioRate = 0;
};

ReadBack readAll(const std::filesystem::path& path) {
    ReadBack result;
    const auto asset = Asset::open(path);
    if (!asset)
        return result;
    const auto reader = AssetReader::create(*asset);
    std::vector<std::shared_ptr<AssetReaderOutput>> outputs;
    for (const AssetTrack& track : (*asset)->tracks()) {
        outputs.push_back(AssetReaderOutput::trackOutput(track, PixelFormat::BGRA));
        reader->addOutput(outputs.back());
    }
    EXPECT_TRUE(reader->startReading());
    for (const auto& output : outputs) {
        while (auto sample = output->copyNextSampleBuffer()) {
            if (sample->mediaType() == MediaType::Video) {
                result.video.push_back(sample);
            } else {
                result.audioFrames += sample->frameCount();
                result.audioRate = sample->audioFormat().sampleRate;
            }
        }
    }
    EXPECT_EQ(reader->status(), AssetReader::Status::Completed);
    return result;
}

TEST(AssetWriter, WritesPicturesThatReadBackWithTheirTimesAndColours) {
    for (const char* codec : {VideoCodecH264, VideoCodecMPEG4}) {
        core::TemporaryFolder folder;
        const auto path = folder.path() / "square.mov";
        auto writer = AssetWriter::create(path, FileType::QuickTimeMovie);
        ASSERT_TRUE(writer) << writer.error().text();
        auto input = AssetWriterInput::create(MediaType::Video, videoSettings(codec));
        ASSERT_TRUE(input);
        const auto adaptor = AssetWriterInputPixelBufferAdaptor::create(*input, PixelFormat::BGRA, kWidth, kHeight, 4);
        (*writer)->addInput(*input);
        ASSERT_TRUE((*writer)->startWriting()) << (*writer)->error()->text();
        (*writer)->startSessionAtSourceTime(MediaTime::make(10, 30));
        for (int frame = 0; frame < 30; ++frame) {
            ASSERT_TRUE((*input)->waitUntilReadyForMoreMediaData(std::chrono::seconds(5)));
            auto buffer = adaptor->pixelBufferPool()->createPixelBuffer();
            ASSERT_TRUE(buffer);
            drawSquare(*buffer, frame);
            EXPECT_TRUE(adaptor->appendPixelBuffer(buffer, MediaTime::make(10 + frame, 30)));
        }
        Completion completion;
        (*writer)->finishWriting(completion.handler());
        completion.wait();
        ASSERT_EQ((*writer)->status(), AssetWriter::Status::Completed);

        const ReadBack back = readAll(path);
        ASSERT_EQ(back.video.size(), 30u) << codec;
        EXPECT_EQ(back.video[3]->presentationTime(), MediaTime::make(3, 30)) << codec;
        const PixelBuffer& middle = *back.video[15]->imageBuffer();
        EXPECT_EQ(middle.width(), kWidth);
        const std::uint8_t* inside = middle.baseAddress() + 24 * middle.bytesPerRow() + (10 + 15 + 8) * 4;
        const std::uint8_t* outside = middle.baseAddress() + 4 * middle.bytesPerRow() + 4 * 4;
        EXPECT_NEAR(inside[2], 220, 16) << codec;
        EXPECT_NEAR(inside[0], 0, 16) << codec;
        EXPECT_NEAR(outside[0], 200, 16) << codec;
        EXPECT_NEAR(outside[2], 0, 16) << codec;
    }
}

TEST(AssetWriter, WritesASineToneAsAnAacTrackOfItsLength) {
    core::TemporaryFolder folder;
    const auto path = folder.path() / "tone.m4a.mp4";
    auto writer = AssetWriter::create(path, FileType::MPEG4);
    ASSERT_TRUE(writer);
    auto input = AssetWriterInput::create(MediaType::Audio, core::Dictionary{{FormatIDKey, AudioFormatMPEG4AAC},
                                                                            {NumberOfChannelsKey, 1},
                                                                            {SampleRateKey, 48000.0},
                                                                            {EncoderBitRateKey, 64000}});
    ASSERT_TRUE(input) << input.error().text();
    (*writer)->addInput(*input);
    ASSERT_TRUE((*writer)->startWriting());
    (*writer)->startSessionAtSourceTime(MediaTime::zero());
    // Half a second of 440 Hz at 44100 Hz in tenths of a second: resampled to the track's 48000 Hz.
    for (int run = 0; run < 5; ++run) {
        std::vector<float> samples(4410);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * (run * 4410 + i) / 44100.0f);
        ASSERT_TRUE((*input)->waitUntilReadyForMoreMediaData(std::chrono::seconds(5)));
        EXPECT_TRUE((*input)->appendSampleBuffer(
            SampleBuffer::makeAudio({44100, 1}, std::move(samples), MediaTime::make(run * 4410, 44100))));
    }
    Completion completion;
    (*writer)->finishWriting(completion.handler());
    completion.wait();
    ASSERT_EQ((*writer)->status(), AssetWriter::Status::Completed);

    const auto asset = Asset::open(path);
    ASSERT_TRUE(asset);
    ASSERT_EQ((*asset)->tracksWithMediaType(MediaType::Audio).size(), 1u);
    EXPECT_EQ((*asset)->tracks()[0].codecName, "aac");
    const ReadBack back = readAll(path);
    EXPECT_EQ(back.audioRate, 48000);
    EXPECT_NEAR(static_cast<double>(back.audioFrames) / 48000, 0.5, 0.03);
}

TEST(AssetWriter, RefusesAPlaceWhereItCannotMakeTheFileAndLosesNothing) {
    core::TemporaryFolder folder;
    const auto existing = folder.path() / "kept.mov";
    std::ofstream(existing) << "not mine to overwrite";
    const auto taken = AssetWriter::create(existing, FileType::QuickTimeMovie);
    ASSERT_FALSE(taken);
    EXPECT_EQ(taken.error().code, MediaErrorCannotCreateFile);
    EXPECT_EQ(std::filesystem::file_size(existing), 21u);
    EXPECT_FALSE(AssetWriter::create(folder.path() / "missing" / "a.mov", FileType::QuickTimeMovie));

    // Cancelled before anything was written: no file stays behind.
    auto writer = AssetWriter::create(folder.path() / "cancelled.mov", FileType::QuickTimeMovie);
    ASSERT_TRUE(writer);
    (*writer)->cancelWriting();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "cancelled.mov"));
}

TEST(AssetWriterInput, RefusesSettingsWithoutWhatTheEncoderNeeds) {
    struct Case {
        const char* what;
        MediaType type;
        std::optional<core::Dictionary> settings;
    };
    const Case refused[] = {
        {"video without settings", MediaType::Video, std::nullopt},
        {"no width", MediaType::Video, core::Dictionary{{VideoCodecKey, VideoCodecH264}, {VideoHeightKey, 48}}},
        {"odd width", MediaType::Video,
         core::Dictionary{{VideoCodecKey, VideoCodecH264}, {VideoWidthKey, 63}, {VideoHeightKey, 48}}},
        {"unknown codec", MediaType::Video,
         core::Dictionary{{VideoCodecKey, "gif"}, {VideoWidthKey, 64}, {VideoHeightKey, 48}}},
        {"three channels", MediaType::Audio, core::Dictionary{{NumberOfChannelsKey, 3}}},
        {"stereo layout on one channel", MediaType::Audio,
         core::Dictionary{{NumberOfChannelsKey, 1}, {ChannelLayoutKey, ChannelLayoutStereo}}},
    };
    for (const Case& c : refused) {
        const auto input = AssetWriterInput::create(c.type, c.settings);
        ASSERT_FALSE(input) << c.what;
        EXPECT_EQ(input.error().code, MediaErrorInvalidSettings) << c.what;
    }
    EXPECT_TRUE(AssetWriterInput::create(MediaType::Audio, std::nullopt)) << "uncompressed audio";
}

TEST(AssetWriterInput, StopsBeingReadyWhileTheEncoderIsHeld) {
    core::TemporaryFolder folder;
    auto writer = *AssetWriter::create(folder.path() / "held.mov", FileType::QuickTimeMovie);
    auto input = *AssetWriterInput::create(MediaType::Video, videoSettings());
    const auto adaptor = AssetWriterInputPixelBufferAdaptor::create(input, PixelFormat::BGRA, kWidth, kHeight, 8);
    writer->addInput(input);
    EXPECT_FALSE(input->isReadyForMoreMediaData()) << "not writing yet";
    ASSERT_TRUE(writer->startWriting());
    EXPECT_FALSE(adaptor->appendPixelBuffer(adaptor->pixelBufferPool()->createPixelBuffer(), MediaTime::zero()))
        << "no session yet";
    writer->startSessionAtSourceTime(MediaTime::zero());

    writer->setEncodingHeld(true);
    int appended = 0;
    while (input->isReadyForMoreMediaData())
        appended += adaptor->appendPixelBuffer(adaptor->pixelBufferPool()->createPixelBuffer(),
                                               MediaTime::make(appended, 30));
    EXPECT_EQ(appended, static_cast<int>(AssetWriterInput::kPendingSampleLimit));
    EXPECT_FALSE(input->waitUntilReadyForMoreMediaData(std::chrono::milliseconds(20)));

    writer->setEncodingHeld(false);
    EXPECT_TRUE(input->waitUntilReadyForMoreMediaData(std::chrono::seconds(5)));
    Completion completion;
    writer->finishWriting(completion.handler());
    completion.wait();
    EXPECT_FALSE(input->isReadyForMoreMediaData());
    EXPECT_EQ(readAll(folder.path() / "held.mov").video.size(), static_cast<std::size_t>(appended));
}

} // namespace
} // namespace media
