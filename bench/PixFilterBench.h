#pragma once

// What the benchmarks of the filter families share: one 1280 x 720 picture, the same pixels for the
// framework and for OpenCV, and a stage that draws one filter's frame and waits for the GPU, so that a
// render is timed without its upload or read-back (those have benchmarks of their own).

#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilterNode.h"
#include "framework/Source/PixRawDataInput.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>

namespace pixbench {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// A photograph-like picture: smooth colour gradients with fine detail over them, opaque, RGBA.
inline const std::vector<std::uint8_t>& picture() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> made;
        made.reserve(std::size_t(kWidth) * kHeight * 4);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double detail = 40 * std::sin(x * 0.21) * std::cos(y * 0.17);
                const auto level = [](double value) {
                    return static_cast<std::uint8_t>(std::lround(std::fmin(255, std::fmax(0, value))));
                };
                made.push_back(level(255.0 * x / kWidth + detail));
                made.push_back(level(255.0 * y / kHeight - detail));
                made.push_back(level(128 + 100 * std::sin((x + y) * 0.01) + detail / 2));
                made.push_back(255);
            }
        }
        return made;
    }();
    return bytes;
}

// The picture as OpenCV holds it (RGBA, the same bytes).
inline cv::Mat pictureMat() {
    return cv::Mat(kHeight, kWidth, CV_8UC4, const_cast<std::uint8_t*>(picture().data()));
}

inline void countPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kWidth) * kHeight);
}

// The picture uploaded once and handed to a filter or group (more of them for filters of several
// inputs), which has drawn it once, so that its framebuffers and programs are ready.
class Stage {
public:
    explicit Stage(std::vector<std::shared_ptr<zm::PixFilterNode>> filters)
        : m_input(zm::PixRawDataInput::create(picture().data(), {kWidth, kHeight}, GL_RGBA))
        , m_filters(std::move(filters)) {
        for (const auto& filter : m_filters)
            m_input->addTarget(filter);
        m_input->processData();
        render();
    }
    explicit Stage(std::shared_ptr<zm::PixFilterNode> filter)
        : Stage(std::vector<std::shared_ptr<zm::PixFilterNode>>{std::move(filter)}) {}

    // One frame of the last filter (the others are its inputs), drawn and finished.
    void render() {
        zm::runSynchronouslyOnContextQueue([this] {
            m_filters.back()->newFrameReadyAtTime(zm::PixFrameTime::indefiniteTime(), 0);
            glFinish();
        });
    }

    const std::shared_ptr<zm::PixRawDataInput>& input() const { return m_input; }
    const std::shared_ptr<zm::PixFilterNode>& filter() const { return m_filters.back(); }

private:
    std::shared_ptr<zm::PixRawDataInput> m_input;
    std::vector<std::shared_ptr<zm::PixFilterNode>> m_filters;
};

// Times a filter's render at 1280 x 720.
inline void renderBenchmark(benchmark::State& state, const std::shared_ptr<zm::PixFilterNode>& filter) {
    Stage stage(filter);
    for (auto _ : state)
        stage.render();
    countPixels(state);
}

} // namespace pixbench
