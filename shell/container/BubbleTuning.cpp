#include "shell/container/BubbleTuning.h"

#include "platform/core/UserDefaults.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

namespace zm {

namespace {

// What a key holds when it is a number or a text, the forms a value can be read from.
std::optional<core::Value> readable(const core::UserDefaults& defaults, std::string_view key) {
    std::optional<core::Value> value = defaults.objectForKey(key);
    if (value && !value->isNumber() && !value->asString())
        return std::nullopt;
    return value;
}

void readInteger(const core::UserDefaults& defaults, std::string_view key, std::int64_t& field,
                 std::int64_t lowest, std::int64_t highest) {
    if (const std::optional<core::Value> value = readable(defaults, key))
        field = std::clamp(value->integerValue(), lowest, highest);
}

// A share that is not a number counts as not stored.
void readReal(const core::UserDefaults& defaults, std::string_view key, float& field, float lowest,
              float highest) {
    if (const std::optional<core::Value> value = readable(defaults, key)) {
        const double stored = value->doubleValue();
        field = std::isnan(stored) ? field : float(std::clamp<double>(stored, lowest, highest));
    }
}

} // namespace

BubbleTuning BubbleTuning::read(const core::UserDefaults& defaults) {
    BubbleTuning tuning;
    readInteger(defaults, "numberOfBubbles", tuning.numberOfBubbles, -1, kMaxBubbles);
    if (tuning.numberOfBubbles == 0)
        tuning.numberOfBubbles = 20;
    tuning.numberOfBubbles = std::max<std::int64_t>(tuning.numberOfBubbles, 0);
    readInteger(defaults, "minAlpha", tuning.minAlpha, 0, 100);
    readInteger(defaults, "maxAlpha", tuning.maxAlpha, 0, 100);
    readInteger(defaults, "minRadius", tuning.minRadius, 0, kMaxRadius);
    readInteger(defaults, "maxRadius", tuning.maxRadius, 0, kMaxRadius);
    if (std::optional<core::Value> level = defaults.objectForKey("blurLevel"))
        tuning.blurLevel = std::move(*level);
    if (std::optional<core::Value> level = defaults.objectForKey("blurLevel2"))
        tuning.blurLevel2 = std::move(*level);
    // Past 0 and 100 every bubble takes one level; the bounds only keep the number a float.
    readReal(defaults, "blurPercentage", tuning.blurPercentage, -1, 101);
    readInteger(defaults, "horizontalParallax", tuning.horizontalParallax, -kMaxParallax, kMaxParallax);
    readInteger(defaults, "verticalParallax", tuning.verticalParallax, -kMaxParallax, kMaxParallax);
    readReal(defaults, "parallaxPerc", tuning.parallaxPerc, 0, kMaxParallaxPerc);
    return tuning;
}

} // namespace zm
