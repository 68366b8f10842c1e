#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/gfx/ImageLibrary.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/Svg.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace gfx {
namespace {

using namespace testing_pixels;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A 10 by 4 point SVG: red on the left half, blue on the right.
constexpr std::string_view kTwoColours = R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="4">
  <rect x="0" y="0" width="5" height="4" fill="#ff0000"/><rect x="5" y="0" width="5" height="4" fill="#0000ff"/>
</svg>)";

TEST(SvgTest, RendersAtTheScaleGivenInPoints) {
    const auto image = renderSvg(bytesOf(kTwoColours), 2);
    ASSERT_TRUE(image.ok()) << image.error().text();
    const Image& picture = **image;
    EXPECT_EQ(picture.size(), core::Size(10, 4));
    EXPECT_EQ(picture.pixelWidth(), 20);
    EXPECT_TRUE(pixelNear(picture.bitmap(), 9, 7, kRed, 0));
    EXPECT_TRUE(pixelNear(picture.bitmap(), 10, 0, kBlue, 0));
}

TEST(SvgTest, ViewBoxGivesTheSizeWhenWidthAndHeightDoNot) {
    const auto image =
        renderSvg(bytesOf(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 6 3"/>)"), 1);
    ASSERT_TRUE(image.ok()) << image.error().text();
    EXPECT_EQ((*image)->size(), core::Size(6, 3));
}

TEST(SvgTest, RefusesWhatItCannotDraw) {
    for (std::string_view broken :
         {std::string_view("not svg"), std::string_view("<svg"),
          std::string_view(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100%"/>)")}) {
        const auto image = renderSvg(bytesOf(broken), 1);
        ASSERT_FALSE(image.ok()) << broken;
        EXPECT_EQ(image.error().domain, kImageErrorDomain);
    }
    const auto huge =
        renderSvg(bytesOf(R"(<svg xmlns="http://www.w3.org/2000/svg" width="90000" height="90000"/>)"), 1);
    ASSERT_FALSE(huge.ok());
    EXPECT_EQ(huge.error().code, kImageErrorTooLarge);
}

// A folder of images made by the test: every file is a one-colour square.
class ImageLibraryTest : public testing::Test {
protected:
    void writePng(const std::string& name, int side, Pixel colour) {
        const std::vector<Pixel> pixels(static_cast<size_t>(side) * side, colour);
        const auto image =
            Image::fromPixels({reinterpret_cast<const std::uint8_t*>(pixels.data()), pixels.size() * 4}, side,
                              side, side * 4, PixelLayout::PremultipliedBGRA);
        const std::vector<std::uint8_t> file = encodePng(*image);
        ASSERT_TRUE(core::writeFileAtomically(m_folder.path() / name,
                                              {reinterpret_cast<const char*>(file.data()), file.size()})
                        .ok());
    }
    void writeSvg(const std::string& name, int side, const char* colour) {
        const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(side) +
                                "\" height=\"" + std::to_string(side) +
                                "\"><rect width=\"100%\" height=\"100%\" fill=\"" + colour + "\"/></svg>";
        ASSERT_TRUE(core::writeFileAtomically(m_folder.path() / name, svg).ok());
    }

    core::TemporaryFolder m_folder;
};

TEST_F(ImageLibraryTest, PrefersSvgAtTheScreenScale) {
    writeSvg("goButton.svg", 4, "#0000ff");
    writePng("goButton.png", 4, kRed);
    ImageLibrary library(m_folder.path(), 2);
    for (const char* name : {"goButton", "goButton.png", "goButton.svg"}) {
        const auto image = library.named(name);
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->scale(), 2);
        EXPECT_EQ(image->size(), core::Size(4, 4));
        EXPECT_TRUE(pixelNear(image->bitmap(), 0, 0, kBlue, 0));
    }
}

TEST_F(ImageLibraryTest, PngsAreUsedAsTheyAreAtTheScaleOfTheirName) {
    writePng("bokeh@2x.png", 8, kRed);
    writePng("dot.png", 3, kGreen);
    writePng("dot@2x.png", 6, kBlue);
    ImageLibrary phone(m_folder.path(), 1);
    ImageLibrary tablet(m_folder.path(), 2);
    EXPECT_EQ(phone.named("bokeh@2x")->size(), core::Size(4, 4));
    EXPECT_EQ(phone.named("dot")->pixelWidth(), 3);
    const auto sharp = tablet.named("dot.png");
    EXPECT_EQ(sharp->pixelWidth(), 6);
    EXPECT_EQ(sharp->size(), core::Size(3, 3));
    EXPECT_TRUE(pixelNear(sharp->bitmap(), 0, 0, kBlue, 0));
}

TEST_F(ImageLibraryTest, ReadsEachImageOnce) {
    writePng("background.png", 2, kRed);
    ImageLibrary library(m_folder.path(), 1);
    const auto first = library.named("background");
    std::filesystem::remove(m_folder.path() / "background.png");
    EXPECT_EQ(library.named("background"), first);
}

// An image asked for on a worker and at once from many threads is read once, by whoever came first,
// and every caller gets that picture; a missing one is looked for, and logged, once.
TEST_F(ImageLibraryTest, AnImageAskedForFromManyThreadsIsReadOnce) {
    writeSvg("background.svg", 4, "#00ff00");
    ImageLibrary library(m_folder.path(), 1);
    core::LogCapture log;
    const ImageLibrary::Pending later = library.namedLater("background");
    const ImageLibrary::Pending missingLater = library.namedLater("missing");
    std::vector<std::shared_ptr<const Image>> seen(8);
    std::vector<std::shared_ptr<const Image>> missing(8, library.named("background"));
    std::vector<std::thread> threads;
    for (std::size_t index = 0; index < seen.size(); ++index) {
        threads.emplace_back([&, index] {
            seen[index] = library.named("background");
            missing[index] = library.named("missing");
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_TRUE(later.get());
    EXPECT_TRUE(pixelNear(later.get()->bitmap(), 1, 1, kGreen, 0));
    for (std::size_t index = 0; index < seen.size(); ++index) {
        EXPECT_EQ(seen[index], later.get());
        EXPECT_EQ(missing[index], nullptr);
    }
    EXPECT_EQ(missingLater.get(), nullptr);
    std::filesystem::remove(m_folder.path() / "background.svg");
    EXPECT_EQ(library.namedLater("background").get(), later.get());
    EXPECT_EQ(log.entries().size(), 1u);
}

TEST_F(ImageLibraryTest, MissingOrUnreadableImagesAreNothing) {
    ASSERT_TRUE(core::writeFileAtomically(m_folder.path() / "broken.png", "not a png").ok());
    std::filesystem::create_directories(m_folder.path() / "kit");
    writePng("kit/success.png", 2, kGreen);
    ImageLibrary library(m_folder.path(), 1);
    core::LogCapture log;
    for (const char* name : {"missing", "broken", "../outside", "/etc/passwd", ""}) {
        EXPECT_EQ(library.named(name), nullptr) << name;
    }
    EXPECT_TRUE(library.named("kit/success.png"));
    EXPECT_EQ(log.entries().size(), 5u);
}

} // namespace
} // namespace gfx
