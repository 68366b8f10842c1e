// links: framework opencv_core opencv_videoio
//
// 300 frames at 1280 x 720 recorded as H.264 into a QuickTime movie, each run into a new file:
// - through the image framework: each frame's texture through a brightness filter, drawn into the movie
//   writer's picture, read back and encoded (a file writer: every frame is kept);
// - beside OpenCV's VideoWriter (FFmpeg backend, H.264) writing the same frames from memory.
// Both encode with libx264's default preset; the framework's figure includes the GPU work (Mesa's
// software rasteriser here). A third figure is the media layer's writer alone, fed the same pictures
// from memory, as OpenCV is. Frames per second; the framework should be no slower.

#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixMovieWriter.h"
#include "framework/Source/PixTextureInput.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBufferPool.h"

#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>

#include "bench/MovieBenchFrames.h"

namespace {

using moviebench::frames;
using moviebench::Frames;
using moviebench::kDistinctFrames;
using moviebench::kFrames;
using moviebench::kHeight;
using moviebench::kWidth;
using moviebench::timeOf;

void BM_PixMovieWriterH264(benchmark::State& state) {
    const Frames& pictures = frames();
    // The pictures live in textures, as a graph's frames do; each frame hands the filter the next.
    std::vector<GLuint> textures(kDistinctFrames);
    zm::runSynchronouslyOnContextQueue([&] {
        zm::PixContext::useImageProcessingContext();
        glGenTextures(kDistinctFrames, textures.data());
        for (int frame = 0; frame < kDistinctFrames; ++frame) {
            glBindTexture(GL_TEXTURE_2D, textures[frame]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_BGRA_EXT, kWidth, kHeight, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                         pictures.bgra[frame].data());
        }
    });
    auto input = zm::PixTextureInput::create(textures[0], {kWidth, kHeight});
    auto brightness = zm::PixBrightnessFilter::create();
    brightness->setBrightness(0.05f);
    input->addTarget(brightness);

    for (auto _ : state) {
        core::TemporaryFolder folder;
        auto writer = zm::PixMovieWriter::create(
            folder.path() / "movie.mov", {kWidth, kHeight}, media::FileType::QuickTimeMovie,
            core::Dictionary{{media::VideoCodecKey, media::VideoCodecH264},
                             {media::VideoWidthKey, kWidth},
                             {media::VideoHeightKey, kHeight},
                             {zm::PixMovieWriter::EncodingLiveVideoKey, false}});
        brightness->addTarget(writer);
        writer->startRecording();
        for (int frame = 0; frame < kFrames; ++frame) {
            const GLuint texture = textures[frame % kDistinctFrames];
            zm::runAsynchronouslyOnContextQueue([brightness, texture] { brightness->setInputTexture(texture, 0); });
            input->processTextureWithFrameTime(timeOf(frame));
        }
        std::promise<void> done;
        writer->finishRecordingWithCompletionHandler([&] { done.set_value(); });
        done.get_future().wait();
        brightness->removeTarget(writer);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
    // The texture input deletes the first texture; the others are the benchmark's.
    input.reset();
    zm::runSynchronouslyOnContextQueue([&] { glDeleteTextures(kDistinctFrames - 1, textures.data() + 1); });
}
BENCHMARK(BM_PixMovieWriterH264)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_OpenCVVideoWriterH264(benchmark::State& state) {
    const Frames& pictures = frames();
    for (auto _ : state) {
        core::TemporaryFolder folder;
        cv::VideoWriter writer((folder.path() / "movie.mov").string(), cv::CAP_FFMPEG,
                               cv::VideoWriter::fourcc('a', 'v', 'c', '1'), 30, cv::Size(kWidth, kHeight));
        if (!writer.isOpened()) {
            state.SkipWithError("OpenCV cannot write H.264 here");
            return;
        }
        for (int frame = 0; frame < kFrames; ++frame)
            writer.write(pictures.bgr[frame % kDistinctFrames]);
        writer.release();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenCVVideoWriterH264)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_AssetWriterH264(benchmark::State& state) {
    const Frames& pictures = frames();
    const std::size_t frameBytes = std::size_t(kWidth) * kHeight * 4;
    for (auto _ : state) {
        core::TemporaryFolder folder;
        auto writer = *media::AssetWriter::create(folder.path() / "movie.mov", media::FileType::QuickTimeMovie);
        auto input = *media::AssetWriterInput::create(media::MediaType::Video,
                                                      core::Dictionary{{media::VideoCodecKey, media::VideoCodecH264},
                                                                       {media::VideoWidthKey, kWidth},
                                                                       {media::VideoHeightKey, kHeight}});
        auto adaptor = media::AssetWriterInputPixelBufferAdaptor::create(input, media::PixelFormat::BGRA, kWidth,
                                                                         kHeight, media::AssetWriterInput::kPendingSampleLimit + 2);
        writer->addInput(input);
        writer->startWriting();
        writer->startSessionAtSourceTime(media::MediaTime::zero());
        for (int frame = 0; frame < kFrames; ++frame) {
            while (!input->waitUntilReadyForMoreMediaData(std::chrono::milliseconds(100))) {
            }
            auto picture = adaptor->pixelBufferPool()->createPixelBuffer();
            std::memcpy(picture->baseAddress(), pictures.bgra[frame % kDistinctFrames].data(), frameBytes);
            adaptor->appendPixelBuffer(picture, timeOf(frame));
        }
        std::promise<void> done;
        writer->finishWriting([&] { done.set_value(); });
        done.get_future().wait();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AssetWriterH264)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
