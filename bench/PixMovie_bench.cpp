// links: framework opencv_core opencv_videoio
//
// A 300-frame 1280 x 720 H.264 movie played as fast as it goes:
// - through the image framework: decoded into bi-planar 4:2:0 pictures, converted to RGB on the GPU
//   (Mesa's software rasteriser here) and delivered to a raw data output, whose bytes are read for
//   every frame;
// - beside OpenCV's VideoCapture (FFmpeg backend) reading the same file into BGR pictures.
// Frames per second; the framework should be no slower.

#include "framework/Source/PixMovie.h"
#include "framework/Source/PixRawDataOutput.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBufferPool.h"

#include <cstring>
#include <future>

#include <benchmark/benchmark.h>
#include <opencv2/videoio.hpp>

#include "bench/MovieBenchFrames.h"

namespace {

using moviebench::kFrames;
using moviebench::kHeight;
using moviebench::kWidth;

// The movie both read, written once.
const std::filesystem::path& movie() {
    static core::TemporaryFolder folder;
    static const std::filesystem::path path = [] {
        const auto& pictures = moviebench::frames();
        const std::filesystem::path made = folder.path() / "movie.mov";
        auto writer = *media::AssetWriter::create(made, media::FileType::QuickTimeMovie);
        auto input = *media::AssetWriterInput::create(media::MediaType::Video,
                                                      core::Dictionary{{media::VideoCodecKey, media::VideoCodecH264},
                                                                       {media::VideoWidthKey, kWidth},
                                                                       {media::VideoHeightKey, kHeight}});
        auto adaptor = media::AssetWriterInputPixelBufferAdaptor::create(input, media::PixelFormat::BGRA, kWidth, kHeight,
                                                                         media::AssetWriterInput::kPendingSampleLimit + 2);
        writer->addInput(input);
        writer->startWriting();
        writer->startSessionAtSourceTime(media::MediaTime::zero());
        for (int frame = 0; frame < kFrames; ++frame) {
            while (!input->waitUntilReadyForMoreMediaData(std::chrono::milliseconds(100))) {
            }
            auto picture = adaptor->pixelBufferPool()->createPixelBuffer();
            std::memcpy(picture->baseAddress(), pictures.bgra[frame % moviebench::kDistinctFrames].data(),
                        std::size_t(kWidth) * kHeight * 4);
            adaptor->appendPixelBuffer(picture, moviebench::timeOf(frame));
        }
        std::promise<void> done;
        writer->finishWriting([&] { done.set_value(); });
        done.get_future().wait();
        return made;
    }();
    return path;
}

void BM_PixMovieToRawDataOutput(benchmark::State& state) {
    const auto asset = *media::Asset::open(movie());
    const auto output = zm::PixRawDataOutput::create({kWidth, kHeight}, true);
    int delivered = 0;
    output->setNewFrameAvailableBlock([&] {
        benchmark::DoNotOptimize(output->rawBytesForImage());
        ++delivered;
    });
    for (auto _ : state) {
        const auto source = zm::PixMovie::create(asset);
        source->addTarget(output);
        source->startProcessing(); // an asset plays on this thread, to its end
        source->removeAllTargets();
    }
    if (delivered != kFrames * static_cast<int>(state.iterations()))
        state.SkipWithError("frames went missing");
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PixMovieToRawDataOutput)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_OpenCVVideoCapture(benchmark::State& state) {
    const std::string path = movie().string();
    for (auto _ : state) {
        cv::VideoCapture capture(path, cv::CAP_FFMPEG);
        cv::Mat picture;
        int read = 0;
        while (capture.read(picture))
            ++read;
        if (read != kFrames)
            state.SkipWithError("OpenCV read a different number of frames");
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenCVVideoCapture)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
