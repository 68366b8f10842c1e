// links: framework opencv_core opencv_imgproc opencv_videoio
//
// A camera's frame path at 1280 x 720: a full-range NV12 picture uploaded as two planes, converted to
// RGB on the GPU (Mesa's software rasteriser here) and delivered to a raw data output whose RGBA bytes
// are read; beside OpenCV's cvtColor(COLOR_YUV2RGBA_NV12) on the same pictures. Frames per second; the
// framework should be no slower.

#include "framework/Source/PixContext.h"
#include "framework/Source/PixRawDataOutput.h"
#include "framework/Source/PixVideoCamera.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/media/CaptureDevice.h"
#include "platform/media/CaptureSession.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/PixelBufferConversion.h"
#include "platform/media/SampleBuffer.h"

#include <cstring>
#include <fstream>

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include "bench/MovieBenchFrames.h"

namespace {

using moviebench::kDistinctFrames;
using moviebench::kHeight;
using moviebench::kWidth;

// The pictures as a camera gives them.
const std::vector<std::shared_ptr<media::SampleBuffer>>& cameraFrames() {
    static const auto made = [] {
        std::vector<std::shared_ptr<media::SampleBuffer>> frames;
        for (int frame = 0; frame < kDistinctFrames; ++frame) {
            auto bgra = media::PixelBuffer::create(media::PixelFormat::BGRA, kWidth, kHeight);
            for (int y = 0; y < kHeight; ++y)
                std::memcpy(bgra->baseAddress() + y * bgra->bytesPerRow(),
                            moviebench::frames().bgra[frame].data() + std::size_t(y) * kWidth * 4, std::size_t(kWidth) * 4);
            frames.push_back(media::SampleBuffer::makeImage(
                media::convertPixelBuffer(*bgra, media::PixelFormat::BiPlanar420FullRange, kWidth, kHeight),
                moviebench::timeOf(frame)));
        }
        return frames;
    }();
    return made;
}

// The camera's own frame path, fed the pictures directly (the session is never started).
class FramePath : public zm::PixVideoCamera {
public:
    static std::shared_ptr<FramePath> create() {
        std::shared_ptr<FramePath> made(new FramePath(cameraAt(media::CaptureDevicePosition::Back)));
        made->addVideoOutput();
        return made;
    }
    void process(const media::SampleBuffer& frame) {
        zm::runSynchronouslyOnContextQueue([&] { processVideoSampleBuffer(frame); });
    }

private:
    explicit FramePath(std::shared_ptr<media::CaptureDevice> camera)
        : PixVideoCamera(media::CaptureSessionPreset1280x720, std::move(camera)) {}
};

void BM_PixVideoCameraFramePath(benchmark::State& state) {
    // A movie camera stands in for the device the path belongs to; it plays nothing here.
    core::TemporaryFolder folder;
    std::ofstream(folder.path() / "unused.mov") << "";
    media::CaptureDevice::setMovieCameraFiles({folder.path() / "unused.mov"});
    const auto& frames = cameraFrames();
    const auto camera = FramePath::create();
    const auto output = zm::PixRawDataOutput::create({kWidth, kHeight}, false);
    output->setNewFrameAvailableBlock([&] { benchmark::DoNotOptimize(output->rawBytesForImage()); });
    camera->addTarget(output);
    int index = 0;
    for (auto _ : state)
        camera->process(*frames[index++ % kDistinctFrames]);
    media::CaptureDevice::setMovieCameraFiles({});
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PixVideoCameraFramePath)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCvtColorNV12(benchmark::State& state) {
    const auto& frames = cameraFrames();
    std::vector<cv::Mat> nv12;
    for (const auto& frame : frames) {
        const media::PixelBuffer& picture = *frame->imageBuffer();
        cv::Mat packed(kHeight * 3 / 2, kWidth, CV_8UC1);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(packed.ptr(y), picture.baseAddressOfPlane(0) + y * picture.bytesPerRowOfPlane(0), kWidth);
        for (int y = 0; y < kHeight / 2; ++y)
            std::memcpy(packed.ptr(kHeight + y), picture.baseAddressOfPlane(1) + y * picture.bytesPerRowOfPlane(1), kWidth);
        nv12.push_back(packed);
    }
    cv::Mat rgba;
    int index = 0;
    for (auto _ : state) {
        cv::cvtColor(nv12[index++ % kDistinctFrames], rgba, cv::COLOR_YUV2RGBA_NV12);
        benchmark::DoNotOptimize(rgba.data);
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenCVCvtColorNV12)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
