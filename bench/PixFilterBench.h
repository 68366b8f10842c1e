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

// A photograph-like picture: smooth colour gradients with fine detail over them, opaque, RGBA. The second
// picture runs its gradients the other way and is half transparent in places.
inline std::vector<std::uint8_t> makePicture(bool second) {
    std::vector<std::uint8_t> made;
    made.reserve(std::size_t(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double detail = 40 * std::sin(x * 0.21) * std::cos(y * 0.17);
            const auto level = [](double value) {
                return static_cast<std::uint8_t>(std::lround(std::fmin(255, std::fmax(0, value))));
            };
            const double across = second ? 1 - double(x) / kWidth : double(x) / kWidth;
            made.push_back(level(255.0 * across + detail));
            made.push_back(level(255.0 * y / kHeight - detail));
            made.push_back(level(128 + 100 * std::sin((x + y) * 0.01) + detail / 2));
            made.push_back(second ? level(160 + 95 * std::cos(x * 0.02)) : 255);
        }
    }
    return made;
}

inline const std::vector<std::uint8_t>& picture() {
    static const std::vector<std::uint8_t> bytes = makePicture(false);
    return bytes;
}

inline const std::vector<std::uint8_t>& secondPicture() {
    static const std::vector<std::uint8_t> bytes = makePicture(true);
    return bytes;
}

// The picture as OpenCV holds it (RGBA, the same bytes).
inline cv::Mat pictureMat() {
    return cv::Mat(kHeight, kWidth, CV_8UC4, const_cast<std::uint8_t*>(picture().data()));
}

inline cv::Mat secondPictureMat() {
    return cv::Mat(kHeight, kWidth, CV_8UC4, const_cast<std::uint8_t*>(secondPicture().data()));
}

inline void countPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kWidth) * kHeight);
}

// The picture uploaded once and handed to a filter or group, which has drawn it once, so that its
// framebuffers and programs are ready. A filter of two inputs takes the second picture (or the given
// one) as its second.
class Stage {
public:
    explicit Stage(std::shared_ptr<zm::PixFilterNode> filter, int inputCount = 1,
                   const std::vector<std::uint8_t>& second = secondPicture(), core::Size secondSize = {kWidth, kHeight})
        : m_filter(std::move(filter))
        , m_inputCount(inputCount) {
        m_inputs.push_back(zm::PixRawDataInput::create(picture().data(), {kWidth, kHeight}, GL_RGBA));
        if (inputCount > 1)
            m_inputs.push_back(zm::PixRawDataInput::create(second.data(), secondSize, GL_RGBA));
        for (const auto& input : m_inputs) {
            input->addTarget(m_filter);
            input->processData();
        }
        render();
    }

    // One frame, drawn and finished: the second input's frame first, then the first's.
    void render() {
        zm::runSynchronouslyOnContextQueue([this] {
            for (int slot = m_inputCount - 1; slot >= 0; --slot)
                m_filter->newFrameReadyAtTime(zm::PixFrameTime::indefiniteTime(), slot);
            glFinish();
        });
    }

    const std::shared_ptr<zm::PixRawDataInput>& input() const { return m_inputs.front(); }
    const std::shared_ptr<zm::PixFilterNode>& filter() const { return m_filter; }

private:
    std::shared_ptr<zm::PixFilterNode> m_filter;
    int m_inputCount;
    std::vector<std::shared_ptr<zm::PixRawDataInput>> m_inputs;
};

// Times an OpenCV counterpart: the operation makes the result from the source at each turn.
template <class Operation> void openCVBenchmark(benchmark::State& state, const cv::Mat& source, Operation operation) {
    cv::Mat result;
    for (auto _ : state) {
        operation(source, result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}

// Times a filter's render at 1280 x 720.
inline void renderBenchmark(benchmark::State& state, const std::shared_ptr<zm::PixFilterNode>& filter,
                            int inputCount = 1) {
    Stage stage(filter, inputCount);
    for (auto _ : state)
        stage.render();
    countPixels(state);
}

} // namespace pixbench
