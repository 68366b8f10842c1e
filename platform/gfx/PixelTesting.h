#pragma once

// Test helpers for looking at drawn pixels.

#include "platform/gfx/Bitmap.h"

#include <cstdlib>
#include <ostream>

#include <gtest/gtest.h>

namespace gfx {

inline std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
    return out << "(b " << int{pixel.blue} << ", g " << int{pixel.green} << ", r " << int{pixel.red} << ", a "
               << int{pixel.alpha} << ")";
}

namespace testing_pixels {

inline constexpr Pixel kClear{};
inline constexpr Pixel kRed{0, 0, 255, 255};
inline constexpr Pixel kGreen{0, 255, 0, 255};
inline constexpr Pixel kBlue{255, 0, 0, 255};
inline constexpr Pixel kWhite{255, 255, 255, 255};
inline constexpr Pixel kBlack{0, 0, 0, 255};

// Every channel within `tolerance` of the expected one: antialiasing and rounding differ by a
// step or two between libraries, a wrong drawing by far more.
inline ::testing::AssertionResult pixelNear(const Bitmap& bitmap, int x, int y, Pixel expected,
                                            int tolerance = 3) {
    const Pixel actual = bitmap.pixel(x, y);
    auto near = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (near(actual.blue, expected.blue) && near(actual.green, expected.green) &&
        near(actual.red, expected.red) && near(actual.alpha, expected.alpha)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << actual << ", expected " << expected;
}

} // namespace testing_pixels
} // namespace gfx
