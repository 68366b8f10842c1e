// links: platform_host
//
// The cost of one frame of a playground screen on a 1024 x 768 tablet: a full-screen background
// picture, a blurred bottom bar, the buttons of the screen and an equation of forty labels that are all
// moving (the 0.4 s settle after a step), so that every frame composes the whole window again.

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/Text.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

// A line of text, as the playground's labels show each character of an expression.
class TextView : public ui::View {
public:
    static std::shared_ptr<TextView> make(std::string text, const gfx::Font& font) {
        const core::Size size = gfx::measureText(text, font);
        return std::shared_ptr<TextView>(new TextView(std::move(text), font, size));
    }

protected:
    void draw(gfx::Canvas& canvas) override {
        canvas.setFillColor(core::Color::rgb255(226, 234, 238));
        canvas.drawText(m_text, m_font, bounds());
    }

private:
    TextView(std::string text, const gfx::Font& font, core::Size size)
        : View({{}, size})
        , m_text(std::move(text))
        , m_font(font) {}

    std::string m_text;
    gfx::Font m_font;
};

std::shared_ptr<const gfx::Image> pictureOf(core::Size size, float scale, core::Color top,
                                            core::Color bottom) {
    gfx::ImageContext context(size, scale, true);
    context.canvas().drawLinearGradient({{{0, top}, {1, bottom}}}, {0, 0}, {0, size.height});
    return context.image();
}

struct PlaygroundScreen {
    explicit PlaygroundScreen(float scale)
        : host({ui::Idiom::Tablet, scale}) {
        ui::Window& window = host.window();
        const core::Rect screen = window.bounds();
        auto background = ui::View::create(screen);
        background->layer().setContents(
            pictureOf(screen.size, scale, core::Color::rgb255(23, 42, 62), core::Color::rgb255(61, 42, 22)));
        window.addSubview(background);

        auto bar = ui::View::create({0, 628, 1024, 140});
        bar->layer().setContents(pictureOf(bar->bounds().size, scale, core::Color::rgb255(40, 40, 60),
                                           core::Color::rgb255(20, 20, 30)));
        window.addSubview(bar);
        const gfx::Font buttonFont = gfx::Font::system(24);
        for (const char* title : {"Home", "Undo", "Restart", "Help", "New Problem"}) {
            auto button = TextView::make(title, buttonFont);
            button->setCenter({float(100 + 200 * bar->subviews().size()), 70});
            bar->addSubview(button);
        }

        playground = ui::View::create({0, 0, 1024, 628});
        window.addSubview(playground);
        const gfx::Font number = gfx::Font::named("Georgia", 100).value_or(gfx::Font::system(100));
        const gfx::Font variable = gfx::Font::named("Georgia-Italic", 100).value_or(gfx::Font::system(100));
        const std::string pieces[] = {"3", "x", "+", "12", "*", "y", "=", "7", "-", "2"};
        for (int i = 0; i < 40; ++i) {
            const std::string& piece = pieces[i % 10];
            auto label = TextView::make(piece, piece == "x" || piece == "y" ? variable : number);
            label->setCenter({float(40 + (i % 10) * 100), float(100 + (i / 10) * 120)});
            playground->addSubview(label);
            labels.push_back(label);
        }
        host.screenshot(); // draws every label once
    }

    // Every label slides, as in the settle after a step; the slide is made long enough to outlast the
    // measurement, which then draws frames of it without moving time.
    void startSettle() {
        ui::animate({.duration = 1e6}, [&] {
            for (const auto& label : labels) {
                const core::Point center = label->center();
                label->setCenter({center.x + 20, center.y + 10});
            }
        });
        host.advance(0.1);
    }

    host::HeadlessHost host;
    std::shared_ptr<ui::View> playground;
    std::vector<std::shared_ptr<ui::View>> labels;
};

void BM_PlaygroundFrameWhileSettling(benchmark::State& state) {
    PlaygroundScreen screen(float(state.range(0)));
    screen.startSettle();
    for (auto _ : state) {
        screen.playground->layer().invalidate();
        screen.host.application().renderIfNeeded();
    }
}
BENCHMARK(BM_PlaygroundFrameWhileSettling)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PlaygroundFrameUnchanged(benchmark::State& state) {
    PlaygroundScreen screen(1);
    for (auto _ : state)
        screen.host.application().renderIfNeeded();
}
BENCHMARK(BM_PlaygroundFrameUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace
