#pragma once

#include "platform/core/Geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zm {

// The curves of a curve file ("acv"): big-endian 16-bit integers, a version and a curve count, then
// each curve as a point count and that many (output, input) level pairs, 0 to 255. The first four
// curves are the composite, red, green and blue ones; points become (input / 255, output / 255).
//
// Curve files come from anywhere. Empty data, data shorter than its header, its curve count or its
// point counts announce, and a negative curve count are refused whole: every curve is absent and the
// refusal is logged. A file of fewer than four curves gives those it has; the others are absent.
struct PixACVFile {
    using Curve = std::optional<std::vector<core::Point>>;

    std::int16_t version = 0;
    std::int16_t totalCurves = 0;
    Curve rgbCompositeCurvePoints;
    Curve redCurvePoints;
    Curve greenCurvePoints;
    Curve blueCurvePoints;

    static PixACVFile read(std::span<const std::uint8_t> data);
};

} // namespace zm
