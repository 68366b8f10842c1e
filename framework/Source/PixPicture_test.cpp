#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/core/Log.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"

#include <future>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::pixelsNear;
using pixtest::PixRecordingTarget;
using pixtest::Rgba;
using Calls = std::vector<std::string>;

const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};

Calls callsOf(const PixRecordingTarget& target) {
    Calls calls;
    runSynchronouslyOnContextQueue([&] { calls = target.calls; });
    return calls;
}

std::shared_ptr<PixPicture> pictureOf(int width, int height, Rgba colour) {
    return PixPicture::create(
        *makeImage(width, height, std::vector<Rgba>(std::size_t(width) * height, colour)));
}

TEST(PixPicture, PushesTheImageTopRowFirst) {
    const std::vector<Rgba> pixels{kRed, kBlue, kBlue, kBlue, kRed, kRed};
    auto picture = PixPicture::create(*makeImage(3, 2, pixels));
    ASSERT_TRUE(picture);
    auto filter = PixFilter::create();
    picture->addTarget(filter);

    EXPECT_TRUE(picture->processImageWithCompletionHandler({}));

    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), pixels, 0));
}

TEST(PixPicture, ReadsAPngOrAJpegFileOrItsBytesAndSaysWhatItCannotRead) {
    // 8 x 8 (one JPEG block), red over blue.
    std::vector<Rgba> pixels(32, kRed);
    pixels.resize(64, kBlue);
    const auto image = makeImage(8, 8, pixels);
    const std::vector<std::uint8_t> png = gfx::encodePng(*image);
    const std::vector<std::uint8_t> jpeg = gfx::encodeJpeg(*image, 100);
    core::TemporaryFolder folder;
    const auto write = [&folder](const char* name, const std::vector<std::uint8_t>& bytes) {
        EXPECT_TRUE(core::writeFileAtomically(folder.path() / name,
                                              {reinterpret_cast<const char*>(bytes.data()), bytes.size()}));
        return folder.path() / name;
    };
    struct Case {
        const char* name;
        core::Result<std::shared_ptr<PixPicture>> picture;
        int tolerance; // JPEG's loss
    };
    const Case readable[] = {
        {"a PNG file", PixPicture::createWithURL(write("picture.png", png)), 0},
        {"a JPEG file", PixPicture::createWithURL(write("picture.jpg", jpeg)), 12},
        {"a JPEG's bytes", PixPicture::createWithData(jpeg), 12},
    };
    for (const Case& c : readable) {
        ASSERT_TRUE(c.picture) << c.name << ": " << c.picture.error().text();
        auto filter = PixFilter::create();
        c.picture.value()->addTarget(filter);
        c.picture.value()->processImage();
        const gl::RgbaImage read = filter->newImageFromCurrentlyProcessedOutput();
        ASSERT_EQ(read.width, 8) << c.name;
        // The top and bottom rows, away from the seam that JPEG blurs.
        for (const auto& [row, colour] : {std::pair{0, kRed}, std::pair{7, kBlue}}) {
            for (int x = 0; x < 8; ++x) {
                const Rgba pixel = read.pixel(x, row);
                for (int channel = 0; channel < 4; ++channel)
                    EXPECT_NEAR(pixel[channel], colour[channel], c.tolerance) << c.name << " at " << x << ", " << row;
            }
        }
    }

    const std::vector<std::uint8_t> text{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    const Case unreadable[] = {
        {"a missing file", PixPicture::createWithURL(folder.path() / "missing.png"), 0},
        {"a text file", PixPicture::createWithURL(write("text.png", text)), 0},
        {"no bytes", PixPicture::createWithData({}), 0},
    };
    for (const Case& c : unreadable) {
        ASSERT_FALSE(c.picture) << c.name;
        EXPECT_FALSE(c.picture.error().description.empty()) << c.name;
    }
}

TEST(PixPicture, TellsEachTargetItIsInColourThenTheSizeThenTheFrame) {
    auto picture = pictureOf(4, 3, kRed);
    auto target = std::make_shared<PixRecordingTarget>();
    picture->addTarget(target);
    target->calls.clear();

    picture->processImage();

    EXPECT_EQ(callsOf(*target), (Calls{"setCurrentlyReceivingMonochromeInput(false)", "setInputSize(4x3, 0)",
                                       "newFrameReadyAtTime(indefinite, 0)"}));
}

TEST(PixPicture, ConservesMemoryOnlyAboveAThousandPixels) {
    struct Case {
        int width, height;
        bool conserves;
    };
    for (const Case c : {Case{1001, 2, true}, Case{2, 1001, true}, Case{1000, 800, false}}) {
        auto picture = pictureOf(c.width, c.height, kRed);
        auto target = std::make_shared<PixRecordingTarget>();
        picture->addTarget(target);
        target->calls.clear();
        picture->processImage();
        const Calls calls = callsOf(*target);
        EXPECT_EQ(!calls.empty() && calls.front() == "conserveMemoryForNextFrame()", c.conserves)
            << c.width << "x" << c.height;
    }
}

TEST(PixPicture, SmoothScalingUploadsAPowerOfTwoTextureButTellsTheImagesSize) {
    // Left half red, right half blue.
    std::vector<Rgba> pixels;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            pixels.push_back(x < 150 ? kRed : kBlue);
    auto picture = PixPicture::create(*makeImage(300, 200, pixels), true);
    auto target = std::make_shared<PixRecordingTarget>();
    auto filter = PixFilter::create();
    picture->addTarget(target);
    picture->addTarget(filter);
    target->calls.clear();

    picture->processImage();

    EXPECT_EQ(callsOf(*target).at(1), "setInputSize(300x200, 0)");
    const gl::RgbaImage image = filter->newImageFromCurrentlyProcessedOutput();
    ASSERT_EQ(image.width, 300);
    ASSERT_EQ(image.height, 200);
    EXPECT_EQ(image.pixel(10, 100), kRed);
    EXPECT_EQ(image.pixel(290, 100), kBlue);
}

TEST(PixPicture, TakesTheImagesPixelsWhateverItsScale) {
    auto picture = PixPicture::create(*makeImage(200, 100, std::vector<Rgba>(200 * 100, kRed), 2));
    EXPECT_EQ(picture->outputImageSize(), (core::Size{200, 100}));
}

TEST(PixPicture, RefusesAnImageWithoutPixels) {
    const gfx::Image empty(gfx::Bitmap::create(0, 5), 1);
    core::LogCapture log;
    EXPECT_EQ(PixPicture::create(empty), nullptr);
    EXPECT_TRUE(log.contains("Passed image must not be empty - it should be at least 1px tall and wide"));
}

TEST(PixPicture, RefusesASecondPushWhileTheFirstIsInFlight) {
    auto picture = pictureOf(2, 2, kRed);
    std::promise<void> release;
    runAsynchronouslyOnContextQueue([held = release.get_future().share()] { held.wait(); });

    std::promise<bool> completedOnQueue;
    EXPECT_TRUE(picture->processImageWithCompletionHandler(
        [&] { completedOnQueue.set_value(PixContext::isOnContextQueue()); }));
    EXPECT_FALSE(
        picture->processImageWithCompletionHandler([] { ADD_FAILURE() << "a refused push completed"; }));

    release.set_value();
    EXPECT_TRUE(completedOnQueue.get_future().get());
    EXPECT_TRUE(picture->processImageWithCompletionHandler({}));
}

TEST(PixPicture, ATargetAddedAfterAPushReceivesTheImageUntilTheTargetsAreCleared) {
    auto picture = pictureOf(2, 2, kBlue);
    picture->processImage();

    auto late = PixFilter::create();
    picture->addTarget(late);
    EXPECT_TRUE(pixelsNear(late->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(4, kBlue), 0));

    picture->removeAllTargets();
    auto later = std::make_shared<PixRecordingTarget>();
    picture->addTarget(later);
    EXPECT_EQ(callsOf(*later), (Calls{"setInputTexture(texture, 0)", "setTextureDelegate(source, 0)"}));
}

} // namespace
} // namespace zm
