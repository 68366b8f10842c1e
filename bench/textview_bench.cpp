// links: platform_host
//
// Typing into the keyboard's text view: one key at the caret in the middle of a text of 2,000
// characters, with the text laid out and the caret placed, as the game's expression keyboard does on
// every key; and the same with the window drawn after it. Measuring a label: in a font and size
// measured before, and in a size never used before (as text shrunk to fit its box asks for).

#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

#include <string>

#include <benchmark/benchmark.h>

namespace {

std::string wordsOf(size_t length) {
    std::string text;
    while (text.size() < length)
        text += "3x + 12y - 7 = ";
    text.resize(length);
    return text;
}

void typeKeys(benchmark::State& state, bool draw) {
    host::HeadlessHost host({ui::Idiom::Tablet, 1});
    const auto view = ui::TextView::create({20, 20, 600, 300});
    view->setFont(*gfx::Font::named("Georgia", 24));
    host.window().addSubview(view);
    view->setText(wordsOf(size_t(state.range(0))));
    view->becomeFirstResponder();
    view->setSelectedRange({size_t(state.range(0)) / 2, 0});
    host.screenshot();
    bool typed = false;
    for (auto _ : state) {
        // Type and take back in turn, so the text keeps its length.
        if (typed)
            host.pressKey(ui::EditingKey::Backspace);
        else
            host.typeText("x");
        typed = !typed;
        if (draw)
            benchmark::DoNotOptimize(host.screenshot());
    }
}

void BM_TypeOneKeyIntoTheTextView(benchmark::State& state) {
    typeKeys(state, false);
}
BENCHMARK(BM_TypeOneKeyIntoTheTextView)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_TypeOneKeyIntoTheTextViewAndDraw(benchmark::State& state) {
    typeKeys(state, true);
}
BENCHMARK(BM_TypeOneKeyIntoTheTextViewAndDraw)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_MeasureALabel(benchmark::State& state) {
    const gfx::Font font = *gfx::Font::named("HelveticaNeue-Light", 30);
    for (auto _ : state)
        benchmark::DoNotOptimize(gfx::measureText("Like Terms", font));
}
BENCHMARK(BM_MeasureALabel)->Unit(benchmark::kMicrosecond);

void BM_MeasureALabelInANewSize(benchmark::State& state) {
    // Sizes 1/1024 point apart, each new to the program.
    float size = 20;
    for (auto _ : state) {
        size += 1.0f / 1024;
        benchmark::DoNotOptimize(gfx::measureText("Like Terms", *gfx::Font::named("HelveticaNeue-Light", size)));
    }
}
BENCHMARK(BM_MeasureALabelInANewSize)->Unit(benchmark::kMicrosecond);

} // namespace
