#pragma once

#include "platform/core/Value.h"

#include <cstdint>

namespace core {
class UserDefaults;
}

namespace zm {

// The numbers that shape the bubble layer, each overridable by a settings key that nothing writes.
// A key holding no object, or one that is neither a number nor a text, gives the default; a stored
// value, 0 included, is used as it stands within its bounds (a hand-edited file must neither make the
// layer eat the memory nor overflow its arithmetic), except that a bubble count of 0 means the default.
struct BubbleTuning {
    // More bubbles than this are not made, whatever the settings say; negative counts make none.
    static constexpr std::int64_t kMaxBubbles = 500;
    static constexpr std::int64_t kMaxRadius = 1000;    // points
    static constexpr std::int64_t kMaxParallax = 1000;  // points, either way
    static constexpr float kMaxParallaxPerc = 1000;     // percent of the container's width

    std::int64_t numberOfBubbles = 20; // "numberOfBubbles"
    std::int64_t minAlpha = 8;         // "minAlpha": lowest alpha, in percent
    std::int64_t maxAlpha = 20;        // "maxAlpha": alpha bound in percent, exclusive
    std::int64_t minRadius = 10;       // "minRadius": smallest side, in points
    std::int64_t maxRadius = 110;      // "maxRadius": side bound in points, exclusive
    // Labels of the two blur levels ("blurLevel", "blurLevel2"), compared as numbers.
    core::Value blurLevel = 17;
    core::Value blurLevel2 = 3;
    float blurPercentage = 75; // "blurPercentage": share of bubbles, in percent, at the first level
    std::int64_t horizontalParallax = 50; // "horizontalParallax": tilt range in points, either way
    std::int64_t verticalParallax = 50;   // "verticalParallax"
    // "parallaxPerc": how much wider than the container the layer is, in percent; 0 when not stored.
    float parallaxPerc = 0;

    static BubbleTuning read(const core::UserDefaults& defaults);
};

} // namespace zm
