#pragma once

// The pictures of the movie benchmarks: 300 frames at 1280 x 720, made of 30 distinct pictures shown in
// turn (a square moving over a diagonal gradient with some grain: enough motion for an encoder to work
// as on real video), as BGRA bytes for the framework and BGR matrices for OpenCV.

#include "framework/Source/PixFrameTime.h"

#include <cstdint>
#include <vector>

#include <opencv2/core.hpp>

namespace moviebench {

inline constexpr int kWidth = 1280;
inline constexpr int kHeight = 720;
inline constexpr int kFrames = 300;
inline constexpr int kDistinctFrames = 30;

struct Frames {
    std::vector<std::vector<std::uint8_t>> bgra;
    std::vector<cv::Mat> bgr;

    Frames() {
        for (int frame = 0; frame < kDistinctFrames; ++frame) {
            std::vector<std::uint8_t> pixels(std::size_t(kWidth) * kHeight * 4);
            cv::Mat mat(kHeight, kWidth, CV_8UC3);
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const bool square = x >= 200 + frame * 20 && x < 500 + frame * 20 && y >= 200 && y < 500;
                    const auto grain = static_cast<std::uint8_t>((x * 31 + y * 17 + frame * 7) % 23);
                    const std::uint8_t blue = square ? 30 : static_cast<std::uint8_t>((x + y) / 8 + grain);
                    const std::uint8_t green = square ? 40 : static_cast<std::uint8_t>(y / 3 + grain);
                    const std::uint8_t red = square ? 220 : static_cast<std::uint8_t>(x / 6);
                    std::uint8_t* out = &pixels[(std::size_t(y) * kWidth + x) * 4];
                    out[0] = blue;
                    out[1] = green;
                    out[2] = red;
                    out[3] = 255;
                    mat.at<cv::Vec3b>(y, x) = {blue, green, red};
                }
            }
            bgra.push_back(std::move(pixels));
            bgr.push_back(mat);
        }
    }
};

inline const Frames& frames() {
    static const Frames made;
    return made;
}

inline zm::PixFrameTime timeOf(int frame) {
    return zm::PixFrameTime::make(frame, 30);
}

} // namespace moviebench
