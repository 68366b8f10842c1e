#include "platform/core/Battery.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace core {

namespace {

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream stream(file);
    std::string line;
    std::getline(stream, line);
    return line;
}

Battery::State stateFromStatus(const std::string& status) {
    if (status == "Charging")
        return Battery::State::Charging;
    if (status == "Full")
        return Battery::State::Full;
    // "Not charging": plugged in but held below full, which a phone would call unplugged as well.
    if (status == "Discharging" || status == "Not charging")
        return Battery::State::Unplugged;
    return Battery::State::Unknown;
}

} // namespace

Battery Battery::read(const std::filesystem::path& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> supplies;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        supplies.push_back(entry.path());
    // The listing's order is the file system's; the first battery by name is the same on every read.
    std::sort(supplies.begin(), supplies.end());
    for (const std::filesystem::path& supply : supplies) {
        if (firstLine(supply / "type") != "Battery")
            continue;
        Battery battery;
        battery.state = stateFromStatus(firstLine(supply / "status"));
        try {
            const int capacity = std::stoi(firstLine(supply / "capacity"));
            if (capacity >= 0 && capacity <= 100)
                battery.level = static_cast<float>(capacity) / 100.0f;
        } catch (const std::exception&) {
            // No capacity, or one that is not a number: the level stays unknown.
        }
        return battery;
    }
    return {};
}

} // namespace core
