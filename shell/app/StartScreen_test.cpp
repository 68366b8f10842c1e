#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundView.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/home/HomeViewController.h"
#include "shell/testing/ShellTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
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
    // The first settled frame of a launch, also kept for a look by eye (see shot).
    std::shared_ptr<const gfx::Image> launch(const ui::Device& device, const std::string& name) {
        // The home screen as every launch after the first shows it, without the tutorial.
        testing::testDefaults().setBool(true, "seenIntro");
        AppDelegate::Configuration configuration;
        AppDelegate application(configuration);
        host::HeadlessHost& host = start(device);
        application.application(host.application(), {});
        host.advance(1);
        return shot(name);
    }

    // The frame now, also written as NAME.png under the temporary folder's "screenshots".
    std::shared_ptr<const gfx::Image> shot(const std::string& name) {
        std::shared_ptr<const gfx::Image> frame = host->screenshot();
        const std::filesystem::path folder = core::FileLocations::shared().temporary / "screenshots";
        std::filesystem::create_directories(folder);
        const std::vector<std::uint8_t> png = gfx::encodePng(*frame);
        std::ofstream(folder / (name + ".png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return frame;
    }

    std::shared_ptr<HomeViewController> home() {
        auto container =
            std::dynamic_pointer_cast<ContainerViewController>(host->window().rootViewController());
        return container ? std::dynamic_pointer_cast<HomeViewController>(container->mainVC()) : nullptr;
    }
};

// What a card in sight shows, in window coordinates: the card, its name label and the box around the
// views of its expression.
struct CardInSight {
    core::Rect card;
    const ui::Label* label;
    core::Rect name;
    core::Rect expression = core::Rect::null();
};

std::vector<CardInSight> cardsInSight(HomeViewController& home) {
    std::vector<CardInSight> cards;
    for (const auto& cell : home.collectionView()->visibleCells()) {
        const auto* label = dynamic_cast<const ui::Label*>(cell->viewWithTag(HomeViewController::kNameTag));
        auto* playground =
            dynamic_cast<PlaygroundView*>(cell->viewWithTag(HomeViewController::kPlaygroundTag));
        if (!label || !playground)
            continue;
        CardInSight card{cell->convertRectToView(cell->bounds(), nullptr), label,
                         label->convertRectToView(label->bounds(), nullptr)};
        for (const std::shared_ptr<ui::View>& view : playground->subviews()) {
            if (view != playground->drawingView() && view != playground->veil())
                card.expression = card.expression.united(view->convertRectToView(view->bounds(), nullptr));
        }
        cards.push_back(card);
    }
    return cards;
}

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

TEST_F(StartScreen, EveryCardOfTheCarouselShowsItsTopicLegibly) {
    const struct {
        ui::Device device;
        const char* name;
        float smallestText; // points
    } cases[] = {{{ui::Idiom::Tablet, 1}, "home-tablet", 24}, {{ui::Idiom::Phone, 2}, "home-phone", 15}};
    for (const auto& test : cases) {
        launch(test.device, test.name);
        const std::shared_ptr<HomeViewController> home = this->home();
        ASSERT_TRUE(home) << test.name;
        const float scale = test.device.scale;
        for (int row = 0; row < 9; ++row) {
            home->collectionView()->scrollToItem(
                {0, row}, ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
            host->advance(0.05);
            const std::string shotName = std::string(test.name) + "-" + std::to_string(row);
            // The middle and the end of the carousel are kept for a look by eye.
            const std::shared_ptr<const gfx::Image> frame =
                row % 4 == 0 ? shot(shotName) : host->screenshot();
            const std::vector<CardInSight> cards = cardsInSight(*home);
            ASSERT_GE(cards.size(), 2u) << shotName;
            for (size_t i = 0; i < cards.size(); ++i) {
                const CardInSight& card = cards[i];
                const std::string text = card.label->text();
                // The name whole, not shrunk below a legible size; the expression shown on its card, below
                // the name, clear of every other card's name and expression.
                EXPECT_GE(card.label->font().pointSize() * card.label->fittingScale(), test.smallestText)
                    << text;
                EXPECT_LE(card.label->sizeThatFits({10000, 10000}).width * card.label->fittingScale(),
                          card.name.width() + 0.5f)
                    << text;
                ASSERT_FALSE(card.expression.isNull()) << text;
                EXPECT_TRUE(card.card.contains(core::Point{card.expression.midX(), card.expression.midY()}))
                    << text;
                EXPECT_GE(card.expression.minY(), card.name.maxY()) << text;
                for (size_t j = 0; j < cards.size(); ++j) {
                    if (j == i)
                        continue;
                    const std::string other = cards[j].label->text();
                    EXPECT_FALSE(card.name.intersects(cards[j].name)) << text << " / " << other;
                    EXPECT_FALSE(card.expression.intersects(cards[j].expression)) << text << " / " << other;
                    EXPECT_FALSE(card.expression.intersects(cards[j].name)) << text << " / " << other;
                }
            }
            // The centred card's name and expression are drawn: light on the darker background.
            const core::Rect screen = home->view()->bounds();
            const auto middle = std::find_if(cards.begin(), cards.end(), [&](const CardInSight& card) {
                return std::abs(card.card.midX() - screen.midX()) < 1;
            });
            ASSERT_NE(middle, cards.end()) << shotName;
            EXPECT_EQ(middle->label->text(), home->topics()[size_t(row)].name());
            for (const core::Rect& area : {middle->name, middle->expression}) {
                int lightest = 0, darkest = 255;
                for (int y = int(area.minY() * scale); y < int(area.maxY() * scale); ++y) {
                    for (int x = int(area.minX() * scale); x < int(area.maxX() * scale); ++x) {
                        const gfx::Pixel pixel = frame->bitmap().pixel(x, y);
                        lightest = std::max<int>(lightest, pixel.green);
                        darkest = std::min<int>(darkest, pixel.green);
                    }
                }
                EXPECT_GT(lightest, 200) << shotName;
                EXPECT_LT(darkest, 140) << shotName;
            }
        }
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
