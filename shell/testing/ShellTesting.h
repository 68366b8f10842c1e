#pragma once

// Helpers for the tests of the application's screens: a headless application with the bundle's
// interface files and images, one settings store per test process, and the player's languages.

#include "platform/core/FileLocations.h"
#include "platform/core/Localization.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/host/HeadlessHost.h"
#include "shell/app/Bundle.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm::testing {

inline const ui::Device kPhone{ui::Idiom::Phone, 1};
inline const ui::Device kTablet{ui::Idiom::Tablet, 1};

// The settings store of the test process. There is one, made at first use, because stores made once
// per process (the progress store) keep a reference to the store they were made with.
inline const std::filesystem::path& testDefaultsFile() {
    static core::TemporaryFolder folder;
    static const std::filesystem::path file = folder.path() / "defaults.plist";
    return file;
}

inline core::UserDefaults& testDefaults() {
    static const std::shared_ptr<core::UserDefaults> defaults = [] {
        auto store = std::make_shared<core::UserDefaults>(testDefaultsFile());
        core::UserDefaults::setStandard(store);
        return store;
    }();
    return *defaults;
}

// What the settings file holds: the settings that were synchronised.
inline core::Dictionary savedDefaults() {
    return core::UserDefaults(testDefaultsFile()).dictionaryRepresentation();
}

// Each test starts with empty settings and English as the player's only language; `start` makes the
// headless application (one at a time) and points the screens at the bundle.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::UserDefaults& defaults = testDefaults();
        for (const std::string& key : defaults.dictionaryRepresentation().keys())
            defaults.removeObject(key);
        defaults.synchronize();
        setLanguages({"en"});
    }

    void TearDown() override { host.reset(); }

    static void setLanguages(std::vector<std::string> languages) {
        core::Localization::setMain(std::make_shared<core::Localization>(
            core::FileLocations::shared().resources, std::move(languages)));
    }

    host::HeadlessHost& start(const ui::Device& device = kTablet) {
        host.reset();
        host = std::make_unique<host::HeadlessHost>(device);
        installBundle();
        return *host;
    }

    std::unique_ptr<host::HeadlessHost> host;
};

} // namespace zm::testing
