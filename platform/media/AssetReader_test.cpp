#include "platform/core/DispatchQueue.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/AssetReader.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBufferPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>

namespace media {
namespace {

// A 32 x 24 movie of `frames` grey pictures at 30 a second, with `toneSeconds` of a steady 0.5 tone
// (none when 0).
std::shared_ptr<Asset> makeMovie(const std::filesystem::path& path, int frames, double toneSeconds) {
    auto writer = *AssetWriter::create(path, FileType::QuickTimeMovie);
    auto video = *AssetWriterInput::create(MediaType::Video, core::Dictionary{{VideoCodecKey, VideoCodecH264},
                                                                             {VideoWidthKey, 32},
                                                                             {VideoHeightKey, 24}});
    const auto adaptor = AssetWriterInputPixelBufferAdaptor::create(video, PixelFormat::BGRA, 32, 24, 4);
    writer->addInput(video);
    std::shared_ptr<AssetWriterInput> audio;
    if (toneSeconds > 0) {
        audio = *AssetWriterInput::create(MediaType::Audio, core::Dictionary{{SampleRateKey, 48000.0}});
        writer->addInput(audio);
    }
    writer->startWriting();
    writer->startSessionAtSourceTime(MediaTime::zero());
    for (int frame = 0; frame < frames; ++frame) {
        video->waitUntilReadyForMoreMediaData(std::chrono::seconds(5));
        auto picture = adaptor->pixelBufferPool()->createPixelBuffer();
        std::fill_n(picture->baseAddress(), picture->bytesPerRow() * 24, 128);
        adaptor->appendPixelBuffer(picture, MediaTime::make(frame, 30));
    }
    if (audio) {
        audio->waitUntilReadyForMoreMediaData(std::chrono::seconds(5));
        // A square wave: AAC keeps its level.
        std::vector<float> samples(static_cast<std::size_t>(toneSeconds * 48000));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = (i / 48) % 2 ? 0.5f : -0.5f;
        audio->appendSampleBuffer(SampleBuffer::makeAudio({48000, 1}, std::move(samples), MediaTime::zero()));
    }
    std::promise<void> done;
    writer->finishWriting([&] { done.set_value(); });
    done.get_future().wait();
    return *Asset::open(path);
}

TEST(AssetReader, AnAssetsTimeRangeKeepsTheSamplesOwnTimes) {
    core::TemporaryFolder folder;
    const auto asset = makeMovie(folder.path() / "a.mov", 10, 0);
    const auto reader = AssetReader::create(asset);
    const auto output = AssetReaderOutput::trackOutput(asset->tracksWithMediaType(MediaType::Video).front());
    reader->addOutput(output);
    reader->setTimeRange(MediaTime::make(4, 30), MediaTime::make(3, 30));
    ASSERT_TRUE(reader->startReading());
    std::vector<MediaTime> times;
    while (const auto sample = output->copyNextSampleBuffer()) {
        times.push_back(sample->presentationTime());
        EXPECT_EQ(sample->imageBuffer()->format(), PixelFormat::BiPlanar420FullRange);
        EXPECT_EQ(sample->imageBuffer()->ycbcrMatrix(), YCbCrMatrix::ITU_R_601);
    }
    EXPECT_EQ(times, (std::vector<MediaTime>{MediaTime::make(4, 30), MediaTime::make(5, 30), MediaTime::make(6, 30)}));
    EXPECT_EQ(reader->status(), AssetReader::Status::Completed);
}

TEST(AssetReader, ACompositionsMixIsSilentWherePartsHaveNoSoundAndFollowsTheirVolumes) {
    core::TemporaryFolder folder;
    const auto toned = makeMovie(folder.path() / "toned.mov", 9, 0.3);
    const auto silent = makeMovie(folder.path() / "silent.mov", 9, 0);
    const auto composition = Composition::create({{toned, MediaTime::zero(), MediaTime::make(3, 10)},
                                                  {silent, MediaTime::zero(), MediaTime::make(3, 10)}});
    ASSERT_TRUE(composition);
    EXPECT_EQ(composition->duration(), MediaTime::make(6, 10));
    const auto reader = AssetReader::create(composition);
    const auto sound = AssetReaderOutput::audioMixOutput(AudioMix{{0.5f}});
    const auto pictures = AssetReaderOutput::videoCompositionOutput({{16, 12}, MediaTime::make(1, 15), 1});
    reader->addOutput(sound);
    reader->addOutput(pictures);
    ASSERT_TRUE(reader->startReading());

    // Power of each part, in the middle of the part: the tone's 0.25 at half volume, then silence.
    double power[2] = {0, 0};
    int counted[2] = {0, 0};
    double seconds = 0;
    while (const auto sample = sound->copyNextSampleBuffer()) {
        const double at = sample->presentationTime().inSeconds();
        if ((at > 0.05 && at < 0.25) || (at > 0.35 && at < 0.55)) {
            const int part = at < 0.3 ? 0 : 1;
            for (const float value : sample->samples()) {
                power[part] += value * value;
                ++counted[part];
            }
        }
        seconds += static_cast<double>(sample->frameCount()) / sample->audioFormat().sampleRate;
    }
    ASSERT_GT(counted[0], 0);
    ASSERT_GT(counted[1], 0);
    EXPECT_NEAR(std::sqrt(power[0] / counted[0]), 0.25, 0.03) << "at half volume";
    EXPECT_EQ(power[1], 0.0) << "the second part has no sound";
    EXPECT_NEAR(seconds, 0.6, 0.03);

    int count = 0;
    while (const auto sample = pictures->copyNextSampleBuffer()) {
        EXPECT_EQ(sample->presentationTime(), MediaTime::make(count, 15)) << "one every frame duration";
        EXPECT_EQ(sample->imageBuffer()->width(), 16);
        ++count;
    }
    EXPECT_EQ(count, 9);
    EXPECT_EQ(reader->status(), AssetReader::Status::Completed);
}

// A program that records and plays movies for hours keeps nothing of one it has let go: a writer and
// its inputs, a reader and its outputs are gone once their users drop them, at any point of their lives.
TEST(AssetReader, ReadersAndWritersAreGoneWithTheirTracksOnceNobodyHoldsThem) {
    core::TemporaryFolder folder;
    const auto asset = makeMovie(folder.path() / "a.mov", 10, 0.3);
    enum class Reading { NotStarted, PartRead, ReadToTheEnd, Cancelled };
    for (const Reading reading : {Reading::NotStarted, Reading::PartRead, Reading::ReadToTheEnd, Reading::Cancelled}) {
        std::weak_ptr<AssetReader> weakReader;
        std::vector<std::weak_ptr<AssetReaderOutput>> weakOutputs;
        {
            const auto reader = AssetReader::create(asset);
            weakReader = reader;
            for (const AssetTrack& track : asset->tracks()) {
                const auto output = AssetReaderOutput::trackOutput(track);
                reader->addOutput(output);
                weakOutputs.push_back(output);
            }
            if (reading != Reading::NotStarted) {
                ASSERT_TRUE(reader->startReading());
                for (const auto& output : reader->outputs()) {
                    for (int read = 0; (reading != Reading::PartRead || read < 2) && output->copyNextSampleBuffer(); ++read) {
                    }
                }
            }
            if (reading == Reading::Cancelled)
                reader->cancelReading();
        }
        EXPECT_TRUE(weakReader.expired()) << static_cast<int>(reading);
        for (const auto& output : weakOutputs)
            EXPECT_TRUE(output.expired()) << static_cast<int>(reading);
    }

    enum class Writing { NotStarted, Writing, Finished };
    const auto requests = core::DispatchQueue::serial("test.requests");
    for (const Writing writing : {Writing::NotStarted, Writing::Writing, Writing::Finished}) {
        std::weak_ptr<AssetWriter> weakWriter;
        std::weak_ptr<AssetWriterInput> weakInput;
        {
            const auto path = folder.path() / ("written" + std::to_string(static_cast<int>(writing)) + ".mov");
            const auto writer = *AssetWriter::create(path, FileType::QuickTimeMovie);
            const auto input = *AssetWriterInput::create(MediaType::Audio, std::nullopt);
            weakWriter = writer;
            weakInput = input;
            writer->addInput(input);
            // A request block that holds its own input, as a producer's often does.
            input->requestMediaDataWhenReady(requests, [input] {});
            if (writing != Writing::NotStarted) {
                ASSERT_TRUE(writer->startWriting());
                writer->startSessionAtSourceTime(MediaTime::zero());
                input->appendSampleBuffer(SampleBuffer::makeAudio({48000, 1}, std::vector<float>(4800), MediaTime::zero()));
            }
            if (writing == Writing::Finished) {
                input->markAsFinished();
                std::promise<void> done;
                writer->finishWriting([&] { done.set_value(); });
                done.get_future().wait();
            }
        }
        // A call of the block on its way holds the input until it has run.
        requests->sync([] {});
        EXPECT_TRUE(weakWriter.expired()) << static_cast<int>(writing);
        EXPECT_TRUE(weakInput.expired()) << static_cast<int>(writing);
    }
}

} // namespace
} // namespace media
