#include "platform/core/Battery.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace core {
namespace {

void writeSupply(const std::filesystem::path& folder, const std::string& name,
                 std::initializer_list<std::pair<const char*, const char*>> files) {
    std::filesystem::create_directories(folder / name);
    for (const auto& [file, text] : files)
        std::ofstream(folder / name / file) << text << "\n";
}

TEST(Battery, TheFirstBatteryGivesItsStateAndLevel) {
    const struct {
        const char* status;
        const char* capacity;
        Battery::State state;
        float level;
    } cases[] = {
        {"Charging", "42", Battery::State::Charging, 0.42f},
        {"Discharging", "100", Battery::State::Unplugged, 1.0f},
        {"Not charging", "80", Battery::State::Unplugged, 0.8f},
        {"Full", "100", Battery::State::Full, 1.0f},
        {"Unknown", "7", Battery::State::Unknown, 0.07f},
        {"Charging", "lots", Battery::State::Charging, -1.0f},
        {"Charging", "250", Battery::State::Charging, -1.0f},
    };
    for (const auto& test : cases) {
        TemporaryFolder folder;
        // A mains supply listed before the battery is passed over.
        writeSupply(folder.path(), "AC", {{"type", "Mains"}, {"online", "1"}});
        writeSupply(folder.path(), "BAT0", {{"type", "Battery"}, {"status", test.status}, {"capacity", test.capacity}});
        writeSupply(folder.path(), "BAT1", {{"type", "Battery"}, {"status", "Full"}, {"capacity", "100"}});
        const Battery battery = Battery::read(folder.path());
        EXPECT_EQ(battery.state, test.state) << test.status << " " << test.capacity;
        EXPECT_FLOAT_EQ(battery.level, test.level) << test.status << " " << test.capacity;
    }
}

TEST(Battery, AMachineWithoutOneReadsAsUnknown) {
    TemporaryFolder folder;
    writeSupply(folder.path(), "AC", {{"type", "Mains"}});
    for (const std::filesystem::path& path : {folder.path(), folder.path() / "missing"}) {
        const Battery battery = Battery::read(path);
        EXPECT_EQ(battery.state, Battery::State::Unknown);
        EXPECT_EQ(battery.level, -1.0f);
    }
}

} // namespace
} // namespace core
