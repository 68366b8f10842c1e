#include "analytics/Telemetry.h"
#include "crashlog/Crashlog.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "shell/app/AppDelegate.h"
#include "shell/testing/ShellTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <cmath>
#include <fstream>
#include <set>

namespace zm {
namespace {

// The average colour of a picture and how much its brightness varies.
struct Summary {
    double red = 0, green = 0, blue = 0;
    double brightnessSpread = 0;
    size_t colours = 0;
};

Summary summarise(const gfx::Image& image) {
    const gfx::Bitmap& bitmap = image.bitmap();
    Summary summary;
    std::set<std::uint32_t> colours;
    double sum = 0, squares = 0;
    const double count = double(bitmap.width()) * bitmap.height();
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const gfx::Pixel pixel = bitmap.pixel(x, y);
            summary.red += pixel.red / count;
            summary.green += pixel.green / count;
            summary.blue += pixel.blue / count;
            const double brightness = (pixel.red + pixel.green + pixel.blue) / 3.0;
            sum += brightness;
            squares += brightness * brightness;
            colours.insert(std::uint32_t(pixel.red) << 16 | std::uint32_t(pixel.green) << 8 | pixel.blue);
        }
    }
    summary.brightnessSpread = std::sqrt(squares / count - (sum / count) * (sum / count));
    summary.colours = colours.size();
    return summary;
}

class StartScreen : public testing::ShellTest {
protected:
    // The first settled frame of a launch, also written beside the tests for a look by eye.
    std::shared_ptr<const gfx::Image> launch(const ui::Device& device, const std::string& name) {
        Crashlog crashlog;
        Telemetry telemetry;
        AppDelegate::Configuration configuration;
        configuration.crashlog = &crashlog;
        configuration.telemetry = &telemetry;
        AppDelegate application(configuration);
        host::HeadlessHost& host = start(device);
        application.application(host.application(), {});
        host.advance(1);
        std::shared_ptr<const gfx::Image> frame = host.screenshot();
        const std::vector<std::uint8_t> png = gfx::encodePng(*frame);
        std::ofstream(name + ".png", std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return frame;
    }
};

TEST_F(StartScreen, ShowsTheBackgroundAndTheBubblesOnBothDevices) {
    const struct {
        ui::Device device;
        const char* name;
    } cases[] = {{{ui::Idiom::Tablet, 1}, "start-screen-tablet"},
                 {{ui::Idiom::Phone, 2}, "start-screen-phone"}};
    for (const auto& test : cases) {
        const std::shared_ptr<const gfx::Image> frame = launch(test.device, test.name);
        const core::Size screen = test.device.screenSize();
        ASSERT_EQ(frame->pixelWidth(), int(screen.width * test.device.scale)) << test.name;
        ASSERT_EQ(frame->pixelHeight(), int(screen.height * test.device.scale)) << test.name;
        const Summary summary = summarise(*frame);
        // A deep blue picture at the first topic's hue: neither black nor a flat fill.
        EXPECT_GT(summary.blue, 40) << test.name;
        EXPECT_GT(summary.blue, summary.red + 15) << test.name;
        EXPECT_GT(summary.brightnessSpread, 4) << test.name;
        EXPECT_GT(summary.colours, 2000u) << test.name;
        // The bubbles are lighter than anything of the background.
        std::uint8_t brightest = 0;
        for (int y = 0; y < frame->pixelHeight(); y += 2)
            for (int x = 0; x < frame->pixelWidth(); x += 2)
                brightest = std::max(brightest, frame->bitmap().pixel(x, y).green);
        EXPECT_GT(brightest, 110) << test.name;
    }
}

TEST_F(StartScreen, TheHueStartsAtTheLastTopic) {
    const Summary first = summarise(*launch({ui::Idiom::Tablet, 1}, "start-screen-first-topic"));
    testing::testDefaults().setObject(AlgebraTopicEquations, AlgebraTopicState);
    const Summary equations = summarise(*launch({ui::Idiom::Tablet, 1}, "start-screen-equations"));
    // Half a turn of the colour circle: the blue picture turns orange-brown.
    EXPECT_GT(equations.red, equations.blue + 15);
    EXPECT_GT(first.blue, first.red + 15);
}

} // namespace
} // namespace zm
