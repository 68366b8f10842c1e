// links: platform_gfx
//
// Writing a screenshot as PNG: a tablet's window at scale 2 (2048 x 1536 pixels) showing a gradient,
// shapes and text, as `zembrix --screenshot` writes it.

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/Png.h"

#include <benchmark/benchmark.h>

namespace {

std::shared_ptr<const gfx::Image> screen() {
    gfx::ImageContext context({1024, 768}, 2, true);
    gfx::Canvas& canvas = context.canvas();
    canvas.drawLinearGradient({{{0, core::Color::rgb255(30, 60, 120)}, {1, core::Color::rgb255(200, 120, 40)}}},
                              {0, 0}, {0, 768});
    canvas.setFillColor(core::Color::rgba(1, 1, 1, 0.3f));
    for (int i = 0; i < 20; ++i)
        canvas.fillRect({float(i * 50), float(i * 30), 120, 80});
    canvas.setFillColor(core::Color::white());
    canvas.drawText("3x + 12 = 2(x - 4) + 17", *gfx::Font::named("Georgia", 48), {100, 300, 900, 100});
    return context.image();
}

void BM_EncodeScreenshotPng(benchmark::State& state) {
    const std::shared_ptr<const gfx::Image> image = screen();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = gfx::encodePng(*image).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodeScreenshotPng)->Unit(benchmark::kMillisecond);

} // namespace
