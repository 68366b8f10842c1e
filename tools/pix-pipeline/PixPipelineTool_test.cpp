#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/gfx/ImageDecoding.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/Png.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& argument) {
    std::string text = "'";
    for (const char c : argument)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// The program run with the arguments, in the folder, with what it wrote.
Outcome run(const core::TemporaryFolder& folder, const std::vector<std::string>& arguments) {
    std::string command = quoted(PIX_PIPELINE_PROGRAM);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    const auto out = folder.path() / "out.txt", err = folder.path() / "err.txt";
    command += " > " + quoted(out.string()) + " 2> " + quoted(err.string());
    Outcome result;
    const int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = core::readFile(out).value();
    result.err = core::readFile(err).value();
    return result;
}

void write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(core::writeFileAtomically(file, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}));
}

void write(const std::filesystem::path& file, const std::string& text) {
    ASSERT_TRUE(core::writeFileAtomically(file, text));
}

// A 32 x 8 picture: black on the left half, white on the right.
std::shared_ptr<const gfx::Image> halves() {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t level = x < 16 ? 0 : 255;
            rgba.insert(rgba.end(), {level, level, level, 255});
        }
    }
    return gfx::Image::fromPixels(rgba, 32, 8, 32 * 4, gfx::PixelLayout::StraightRGBA);
}

std::string pipeline(const std::string& filters) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>Filters</key><array>" +
           filters + "</array></dict></plist>\n";
}

const std::string kBlurAndBrightness =
    pipeline("<dict><key>FilterName</key><string>PixGaussianBlurFilter</string><key>Attributes</key><dict>"
             "<key>setBlurSize:</key><string>float(1)</string></dict></dict>"
             "<dict><key>FilterName</key><string>PixBrightnessFilter</string><key>Attributes</key><dict>"
             "<key>setBrightness:</key><string>float(0.2)</string></dict></dict>");

int grey(const gfx::Image& image, int x, int y) {
    return image.bitmap().pixel(x, y).green;
}

TEST(PixPipelineTool, BlursAndBrightensAPngIntoAJpegAndAJpegIntoAPng) {
    core::TemporaryFolder folder;
    write(folder.path() / "pipeline.plist", kBlurAndBrightness);
    write(folder.path() / "in.png", gfx::encodePng(*halves()));
    write(folder.path() / "in.jpg", gfx::encodeJpeg(*halves(), 100));

    for (const auto& [input, output] : {std::pair{"in.png", "out.jpg"}, std::pair{"in.jpg", "out.png"}}) {
        const Outcome ran = run(folder, {(folder.path() / "pipeline.plist").string(), (folder.path() / input).string(),
                                     (folder.path() / output).string()});
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_TRUE(ran.err.empty()) << ran.err;
        const auto image = gfx::readImageFile(folder.path() / output);
        ASSERT_TRUE(image) << image.error().text();
        ASSERT_EQ(image.value()->pixelWidth(), 32);
        // Black lifted by 0.2 away from the edge, white stays white, and the edge is blurred between.
        EXPECT_NEAR(grey(*image.value(), 2, 4), 51, 4) << input;
        EXPECT_NEAR(grey(*image.value(), 29, 4), 255, 4) << input;
        EXPECT_GT(grey(*image.value(), 15, 4), 60) << input;
        EXPECT_LT(grey(*image.value(), 15, 4), 230) << input;
    }
}

TEST(PixPipelineTool, ListsTheFiltersAndWhatTheirMethodsTake) {
    core::TemporaryFolder folder;
    const Outcome ran = run(folder, {"--list"});
    EXPECT_EQ(ran.status, 0);
    EXPECT_NE(ran.out.find("PixGaussianBlurFilter\n    setBlurSize: float()\n"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("PixBrightnessFilter\n    setBrightness: float()\n"), std::string::npos) << ran.out;
}

TEST(PixPipelineTool, SaysWhatIsWrongInOneLine) {
    core::TemporaryFolder folder;
    const auto at = [&folder](const char* name) { return (folder.path() / name).string(); };
    write(folder.path() / "good.plist", kBlurAndBrightness);
    write(folder.path() / "broken.plist", std::string("<plist><dict>"));
    write(folder.path() / "unknown.plist", pipeline("<dict><key>FilterName</key><string>PixNoSuchFilter</string></dict>"));
    write(folder.path() / "mistyped.plist",
          pipeline("<dict><key>FilterName</key><string>PixBrightnessFilter</string><key>Attributes</key><dict>"
                   "<key>setBrightness:</key><string>CGPoint(1, 2)</string></dict></dict>"));
    write(folder.path() / "unset.plist",
          pipeline("<dict><key>FilterName</key><string>PixBrightnessFilter</string><key>Attributes</key><dict>"
                   "<key>setContrast:</key><string>float(1)</string></dict></dict>"));
    write(folder.path() / "empty.plist", std::string("<plist><dict/></plist>"));
    write(folder.path() / "in.png", gfx::encodePng(*halves()));
    write(folder.path() / "text.png", std::string("not a picture"));
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{at("missing.plist"), at("in.png"), at("out.png")}, 1, "missing.plist is not a readable property list"},
        {{at("broken.plist"), at("in.png"), at("out.png")}, 1, "is not a readable property list"},
        {{at("empty.plist"), at("in.png"), at("out.png")}, 1, "no \"Filters\""},
        {{at("unknown.plist"), at("in.png"), at("out.png")}, 1, "no filter named \"PixNoSuchFilter\""},
        {{at("unset.plist"), at("in.png"), at("out.png")}, 1, "has no method \"setContrast:\""},
        {{at("mistyped.plist"), at("in.png"), at("out.png")}, 1, "takes float(), not \"CGPoint(1, 2)\""},
        {{at("good.plist"), at("missing.png"), at("out.png")}, 1, "missing.png: "},
        {{at("good.plist"), at("text.png"), at("out.png")}, 1, "not a PNG or JPEG image"},
        {{at("good.plist"), at("in.png"), at("out.gif")}, 1, "written as PNG (.png) or JPEG"},
        {{at("good.plist"), at("in.png")}, 2, "usage: pix-pipeline"},
    };
    for (const Case& c : cases) {
        const Outcome ran = run(folder, c.arguments);
        EXPECT_EQ(ran.status, c.status) << c.says;
        EXPECT_NE(ran.err.find(c.says), std::string::npos) << ran.err;
        EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.png")) << c.says;
    }
}

} // namespace
