#pragma once

#include <filesystem>

namespace core {

// The battery of the machine as the kernel describes it under /sys/class/power_supply. The numbers of
// the states are those stored crash records and notifications use.
struct Battery {
    enum class State { Unknown = 0, Unplugged = 1, Charging = 2, Full = 3 };

    State state = State::Unknown;
    // From 0 to 1; -1 when unknown (no battery, or one that does not say).
    float level = -1;

    // The first battery among the power supplies in `folder`; a machine without one reads as unknown.
    static Battery read(const std::filesystem::path& folder = "/sys/class/power_supply");
};

} // namespace core
