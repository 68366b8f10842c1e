#include "shell/container/BubbleTuning.h"

#include "platform/core/UserDefaults.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace zm {

namespace {

void readInteger(const core::UserDefaults& defaults, std::string_view key, std::int64_t& field) {
    if (defaults.contains(key))
        field = defaults.integerForKey(key);
}

} // namespace

BubbleTuning BubbleTuning::read(const core::UserDefaults& defaults) {
    BubbleTuning tuning;
    readInteger(defaults, "numberOfBubbles", tuning.numberOfBubbles);
    if (tuning.numberOfBubbles == 0)
        tuning.numberOfBubbles = 20;
    // A hand-edited settings file must not make the layer eat the memory.
    tuning.numberOfBubbles = std::clamp<std::int64_t>(tuning.numberOfBubbles, 0, kMaxBubbles);
    readInteger(defaults, "minAlpha", tuning.minAlpha);
    readInteger(defaults, "maxAlpha", tuning.maxAlpha);
    readInteger(defaults, "minRadius", tuning.minRadius);
    readInteger(defaults, "maxRadius", tuning.maxRadius);
    if (std::optional<core::Value> level = defaults.objectForKey("blurLevel"))
        tuning.blurLevel = std::move(*level);
    if (std::optional<core::Value> level = defaults.objectForKey("blurLevel2"))
        tuning.blurLevel2 = std::move(*level);
    if (defaults.contains("blurPercentage"))
        tuning.blurPercentage = defaults.floatForKey("blurPercentage");
    readInteger(defaults, "horizontalParallax", tuning.horizontalParallax);
    readInteger(defaults, "verticalParallax", tuning.verticalParallax);
    return tuning;
}

} // namespace zm
