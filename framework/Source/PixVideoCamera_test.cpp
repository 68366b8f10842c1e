#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixMovieTestSupport.h"
#include "framework/Source/PixMovieWriter.h"
#include "framework/Source/PixStillCamera.h"
#include "framework/Source/PixVideoCamera.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"
#include "platform/media/CaptureOutput.h"
#include "platform/media/CaptureSession.h"
#include "platform/media/MediaError.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/SampleBuffer.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace zm {
namespace {

using pixtest::FrameLog;
using pixtest::PixRecordingTarget;
using pixtest::Rgba;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
const Rgba kBackColour{200, 60, 40, 255};
const Rgba kFrontColour{40, 80, 200, 255};

// Movie cameras on the manual clock: the back one plays reddish frames with a tone, the front one bluish
// frames; a third movie has only sound.
class CameraTest : public ::testing::Test {
protected:
    CameraTest() {
        // A square on dark grey, so that a blurred picture of it shows its soft edges.
        std::vector<Rgba> square;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                square.push_back(x >= 16 && x < 48 && y >= 12 && y < 36 ? kBackColour : Rgba{30, 30, 30, 255});
        pixtest::MovieRecipe back;
        back.pictures.assign(30, square);
        back.toneSeconds = 1;
        EXPECT_TRUE(pixtest::writeMovie(backMovie, back));
        pixtest::MovieRecipe front;
        front.pictures.assign(30, pixtest::solidPicture(kWidth, kHeight, kFrontColour));
        EXPECT_TRUE(pixtest::writeMovie(frontMovie, front));
        pixtest::MovieRecipe sound;
        sound.toneSeconds = 0.2;
        EXPECT_TRUE(pixtest::writeMovie(soundMovie, sound));
        media::CaptureDevice::setMovieCameraFiles({backMovie, frontMovie});
    }
    ~CameraTest() override {
        media::CaptureDevice::setMovieCameraFiles({});
        PixContext::overrideDeviceCapabilities(std::nullopt, std::nullopt);
    }

    // One frame time on, and the frame it brings.
    void nextFrame() { clock->advanceBy(std::chrono::nanoseconds(33'333'334)); }

    static std::shared_ptr<media::CaptureOutput> videoOutputOf(const PixVideoCamera& camera) {
        for (const auto& output : camera.captureSession()->outputs()) {
            if (dynamic_cast<media::CaptureDataOutput*>(output.get()) && output->mediaType() == media::MediaType::Video)
                return output;
        }
        return nullptr;
    }

    static std::shared_ptr<media::SampleBuffer> pictureAt(PixFrameTime time) {
        auto picture = media::PixelBuffer::create(media::PixelFormat::BiPlanar420FullRange, kWidth, kHeight);
        return media::SampleBuffer::makeImage(picture, time);
    }

    core::TemporaryFolder folder;
    std::filesystem::path backMovie = folder.path() / "back.mov";
    std::filesystem::path frontMovie = folder.path() / "front.mov";
    std::filesystem::path soundMovie = folder.path() / "sound.mov";
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
};

TEST_F(CameraTest, PlaysTheMovieCameraAtItsOwnPaceAndDropsAFrameThatComesWhileOneIsInFlight) {
    const auto camera = PixVideoCamera::create();
    ASSERT_TRUE(camera);
    EXPECT_TRUE(PixVideoCamera::isBackFacingCameraPresent());
    EXPECT_TRUE(PixVideoCamera::isFrontFacingCameraPresent());
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(log);
    camera->startCameraCapture();
    ASSERT_TRUE(log->waitForFrames(1)) << "the first frame is due at once";
    nextFrame();
    ASSERT_TRUE(log->waitForFrames(2));
    EXPECT_TRUE(pixtest::colourNear(log->frames()[1].centre, kBackColour, 8));
    EXPECT_EQ(log->frames()[1].time, PixFrameTime::make(1, 30));

    // With the processing queue busy, the next frame waits in the pipeline and the one after is dropped.
    std::promise<void> unblock;
    runAsynchronouslyOnContextQueue([gate = unblock.get_future().share()] { gate.wait(); });
    const auto output = videoOutputOf(*camera);
    camera->captureOutput(pictureAt(PixFrameTime::make(10, 1)), *output);
    camera->captureOutput(pictureAt(PixFrameTime::make(11, 1)), *output);
    unblock.set_value();
    runSynchronouslyOnContextQueue([] {});
    camera->captureOutput(pictureAt(PixFrameTime::make(12, 1)), *output);
    runSynchronouslyOnContextQueue([] {});
    const auto frames = log->frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[2].time, PixFrameTime::make(10, 1));
    EXPECT_EQ(frames[3].time, PixFrameTime::make(12, 1)) << "the pipeline takes frames again once free";
}

TEST_F(CameraTest, PausedFramesDoNoWorkAndFramesAfterTheSessionStopsAreIgnored) {
    const auto camera = PixVideoCamera::create();
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(log);
    camera->startCameraCapture();
    ASSERT_TRUE(log->waitForFrames(1));
    const auto output = videoOutputOf(*camera);

    camera->pauseCameraCapture();
    camera->captureOutput(pictureAt(PixFrameTime::make(5, 1)), *output);
    runSynchronouslyOnContextQueue([] {});
    EXPECT_EQ(log->frames().size(), 1u);
    camera->resumeCameraCapture();
    camera->captureOutput(pictureAt(PixFrameTime::make(6, 1)), *output);
    runSynchronouslyOnContextQueue([] {});
    EXPECT_EQ(log->frames().size(), 2u) << "the next frame after a paused one is admitted";

    camera->stopCameraCapture();
    camera->captureOutput(pictureAt(PixFrameTime::make(7, 1)), *output);
    runSynchronouslyOnContextQueue([] {});
    EXPECT_EQ(log->frames().size(), 2u);
}

// A recording target that is disabled, or that wants no updates.
class FlaggedTarget : public PixRecordingTarget {
public:
    bool isEnabled = true;
    bool ignoresUpdates = false;
    bool enabled() const override { return isEnabled; }
    bool shouldIgnoreUpdatesToThisTarget() const override { return ignoresUpdates; }
};

TEST_F(CameraTest, IgnoredDisabledAndMonochromeTargetsGetWhatTheyAskFor) {
    const auto camera = PixVideoCamera::create();
    auto ignored = std::make_shared<FlaggedTarget>();
    ignored->ignoresUpdates = true;
    auto disabled = std::make_shared<FlaggedTarget>();
    disabled->isEnabled = false;
    auto monochrome = std::make_shared<FlaggedTarget>(); // every recording target wants monochrome
    for (const auto& target : {ignored, disabled, monochrome})
        camera->addTarget(target);
    EXPECT_EQ(camera->targetToIgnoreForUpdates(), ignored.get());
    camera->startCameraCapture();
    const auto newFrames = [&] {
        int count = 0;
        runSynchronouslyOnContextQueue([&] {
            for (const std::string& call : monochrome->calls)
                count += call.rfind("newFrameReadyAtTime", 0) == 0;
        });
        return count;
    };
    for (int tries = 0; tries < 5000 && newFrames() < 1; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(newFrames(), 1);
    // The first frame made the output texture, which every target was told of; the next one shows
    // what each gets a frame.
    runSynchronouslyOnContextQueue([&] {
        for (const auto& target : {ignored, disabled, monochrome})
            target->calls.clear();
    });
    nextFrame();
    for (int tries = 0; tries < 5000 && newFrames() < 1; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    runSynchronouslyOnContextQueue([&] {
        EXPECT_EQ(ignored->calls, (std::vector<std::string>{"setInputRotation(0, 0)", "setInputTexture(texture, 0)"}));
        EXPECT_TRUE(disabled->calls.empty());
        EXPECT_EQ(monochrome->calls,
                  (std::vector<std::string>{"setInputRotation(0, 0)", "setInputSize(64x48, 0)",
                                            "setCurrentlyReceivingMonochromeInput(true)", "setInputTexture(texture, 0)",
                                            "newFrameReadyAtTime(0.0333333 s, 0)"}));
    });
}

TEST_F(CameraTest, RotatesByTheTableAndSwitchesCamerasKeepingTheOneInUse) {
    const auto camera = PixVideoCamera::create(media::CaptureSessionPreset640x480, media::CaptureDevicePosition::Front);
    ASSERT_TRUE(camera);
    auto target = std::make_shared<PixRecordingTarget>();
    camera->addTarget(target);
    const auto lastRotation = [&] {
        std::string last;
        runSynchronouslyOnContextQueue([&] { last = target->calls.back(); });
        return last;
    };
    EXPECT_EQ(lastRotation(), "setInputRotation(0, 0)") << "a new target learns the rotation";

    camera->setHorizontallyMirrorFrontFacingCamera(true);
    camera->setHorizontallyMirrorRearFacingCamera(true);
    camera->setOutputImageOrientation(InterfaceOrientationPortraitUpsideDown);
    EXPECT_EQ(lastRotation(), "setInputRotation(6, 0)") << "front, mirrored, upside down";
    camera->rotateCamera();
    EXPECT_EQ(camera->cameraPosition(), media::CaptureDevicePosition::Back);
    EXPECT_EQ(camera->inputCamera()->position(), media::CaptureDevicePosition::Back);
    EXPECT_EQ(lastRotation(), "setInputRotation(7, 0)") << "back, mirrored, upside down";
    camera->setOutputImageOrientation(InterfaceOrientationUnknown);
    EXPECT_EQ(lastRotation(), "setInputRotation(7, 0)") << "an unknown orientation sends the rotation again";
    camera->setOutputImageOrientation(InterfaceOrientationLandscapeRight);
    camera->setHorizontallyMirrorRearFacingCamera(false);
    EXPECT_EQ(lastRotation(), "setInputRotation(0, 0)");

    // A front camera that cannot deliver: the session keeps the back one, and so does the camera.
    media::CaptureDevice::setMovieCameraFiles({backMovie, soundMovie});
    camera->rotateCamera();
    EXPECT_EQ(camera->cameraPosition(), media::CaptureDevicePosition::Back);
    EXPECT_EQ(camera->inputCamera()->position(), media::CaptureDevicePosition::Back);
}

TEST_F(CameraTest, AverageFrameDurationIsZeroUntilTheSixthFrame) {
    const auto camera = PixVideoCamera::create();
    camera->setRunBenchmark(true);
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(log);
    camera->startCameraCapture();
    for (int frame = 1; frame <= 5; ++frame) {
        ASSERT_TRUE(log->waitForFrames(frame));
        EXPECT_EQ(camera->averageFrameDurationDuringCapture(), 0.0f) << "after " << frame << " frames";
        nextFrame();
    }
    ASSERT_TRUE(log->waitForFrames(6));
    EXPECT_GT(camera->averageFrameDurationDuringCapture(), 0.0f);
}

TEST_F(CameraTest, RecordingWithSoundGivesBothTracks) {
    const auto camera = PixVideoCamera::create();
    const auto writer = PixMovieWriter::create(folder.path() / "recorded.mov", {kWidth, kHeight});
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(writer);
    camera->addTarget(log);
    camera->setAudioEncodingTarget(writer);
    EXPECT_TRUE(writer->hasAudioTrack());
    writer->startRecording();
    camera->startCameraCapture();
    for (int frame = 1; frame <= 10; ++frame) {
        ASSERT_TRUE(log->waitForFrames(frame));
        nextFrame();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the sound of those frames on its way
    camera->stopCameraCapture();
    std::promise<void> done;
    writer->finishRecordingWithCompletionHandler([&] { done.set_value(); });
    done.get_future().wait();
    const auto movie = pixtest::readMovie(folder.path() / "recorded.mov");
    EXPECT_FALSE(movie.frames.empty()) << "a live writer may drop what its encoder is not ready for, not all";
    EXPECT_EQ(movie.audioCodec, "aac");
    EXPECT_GT(movie.audioSeconds, 0.1);
    camera->setAudioEncodingTarget(nullptr);
    EXPECT_EQ(camera->captureSession()->inputs().size(), 1u) << "the microphone goes with its writer";
}

TEST_F(CameraTest, StillsComeAsImageJpegAndPngAndABusyCameraSaysSo) {
    const auto camera = PixStillCamera::create();
    ASSERT_TRUE(camera);
    auto filter = PixGaussianBlurFilter::create();
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(filter);
    camera->addTarget(log);
    camera->startCameraCapture();
    ASSERT_TRUE(log->waitForFrames(1)) << "a photo is the camera's latest picture";
    EXPECT_FALSE(camera->currentCaptureMetadata());

    std::promise<std::shared_ptr<const gfx::Image>> imageTaken;
    camera->capturePhotoAsImageProcessedUpToFilter(filter, [&](const auto& image, const auto& error) {
        EXPECT_FALSE(error);
        EXPECT_TRUE(camera->currentCaptureMetadata()) << "the facts are there while the handler runs";
        imageTaken.set_value(image);
    });
    const auto image = imageTaken.get_future().get();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), kWidth);
    const gfx::Pixel middle = image->bitmap().pixel(32, 24);
    EXPECT_TRUE(pixtest::colourNear({middle.red, middle.green, middle.blue, 255}, kBackColour, 10))
        << int(middle.red) << " " << int(middle.green) << " " << int(middle.blue);
    pixtest::keepPicture(*image, "movie-camera-blurred");

    // A handler runs before the photo output is done with its photo: the next photo waits for that.
    const auto waitUntilIdle = [&] {
        for (int tries = 0; tries < 5000 && camera->photoOutput()->isCapturingStillImage(); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    waitUntilIdle();
    std::promise<std::vector<std::uint8_t>> jpegTaken;
    std::promise<core::Error> busy;
    camera->capturePhotoAsJPEGProcessedUpToFilter(filter, [&](const auto& data, const auto& error) {
        EXPECT_FALSE(error);
        // The stream is let go before this handler runs, but the photo output is still busy with this one.
        camera->capturePhotoProcessedUpToFilter(filter, [&](const std::optional<core::Error>& second) {
            busy.set_value(second.value_or(core::Error{}));
        });
        jpegTaken.set_value(data);
    });
    const auto jpeg = jpegTaken.get_future().get();
    EXPECT_EQ(busy.get_future().get().code, -11830);
    const auto decodedJpeg = gfx::decodeJpeg(jpeg);
    ASSERT_TRUE(decodedJpeg);
    EXPECT_EQ((*decodedJpeg)->pixelWidth(), kWidth);

    waitUntilIdle();
    std::promise<std::vector<std::uint8_t>> pngTaken;
    camera->capturePhotoAsPNGProcessedUpToFilter(filter, [&](const auto& data, const auto&) { pngTaken.set_value(data); });
    const auto decodedPng = gfx::decodePng(pngTaken.get_future().get());
    ASSERT_TRUE(decodedPng);
    EXPECT_EQ((*decodedPng)->pixelHeight(), kHeight);
}

TEST_F(CameraTest, AnOversizedStillIsFittedWhenBgraAndRefusedWhenBiPlanar) {
    pixtest::MovieRecipe large;
    large.width = 1280;
    large.height = 720;
    large.pictures = {pixtest::solidPicture(1280, 720, kBackColour)};
    const auto largeMovie = folder.path() / "large.mov";
    ASSERT_TRUE(pixtest::writeMovie(largeMovie, large));
    media::CaptureDevice::setMovieCameraFiles({largeMovie});

    // Without red textures the camera works in BGRA, and a photo past the limit is scaled down.
    PixContext::overrideDeviceCapabilities(512, false);
    {
        const auto camera = PixStillCamera::create();
        auto log = std::make_shared<FrameLog>();
        camera->addTarget(log);
        camera->startCameraCapture();
        ASSERT_TRUE(log->waitForFrames(1));
        std::promise<std::optional<core::Error>> taken;
        camera->capturePhotoProcessedUpToFilter(camera, [&](const auto& error) { taken.set_value(error); });
        EXPECT_FALSE(taken.get_future().get());
        const auto frames = log->frames();
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[1].size, (core::Size{512, 288}));
        EXPECT_EQ(frames[1].time, PixFrameTime::make(1, 30));
        EXPECT_TRUE(pixtest::colourNear(frames[1].centre, kBackColour, 10));
    }
    // With them it works in YUV, which is not scaled: the handler hears why and the stream goes on.
    PixContext::overrideDeviceCapabilities(512, true);
    {
        const auto camera = PixStillCamera::create();
        auto log = std::make_shared<FrameLog>();
        camera->addTarget(log);
        camera->startCameraCapture();
        ASSERT_TRUE(log->waitForFrames(1));
        std::promise<std::optional<core::Error>> taken;
        camera->capturePhotoProcessedUpToFilter(camera, [&](const auto& error) { taken.set_value(error); });
        const auto error = taken.get_future().get();
        ASSERT_TRUE(error);
        EXPECT_NE(error->description.find("no downsampling for YUV input"), std::string::npos);
        clock->advanceBy(std::chrono::milliseconds(100)); // the one-picture movie comes round again
        EXPECT_TRUE(log->waitForFrames(2)) << "live frames come again";
    }
}

TEST(LinuxCamera, DeliversFramesWhereADeviceExists) {
    media::CaptureDevice::setMovieCameraFiles({});
    if (std::getenv("ZEMBRIX_CAMERA_MOVIE") || !PixVideoCamera::isBackFacingCameraPresent())
        GTEST_SKIP() << "no /dev/video device here";
    const auto camera = PixVideoCamera::create();
    ASSERT_TRUE(camera);
    auto log = std::make_shared<FrameLog>();
    camera->addTarget(log);
    camera->startCameraCapture();
    EXPECT_TRUE(log->waitForFrames(3));
    camera->stopCameraCapture();
}

} // namespace
} // namespace zm
