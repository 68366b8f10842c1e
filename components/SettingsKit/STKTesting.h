#pragma once

// Test support: application bundles of settings files made by a test in a temporary folder.

#include "platform/core/Files.h"
#include "platform/core/PropertyList.h"
#include "platform/core/TemporaryFolder.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace zm::testing {

// A row of a settings file.
inline core::Dictionary row(std::string type, std::string key, std::string title = {}, core::Dictionary more = {}) {
    more.set("Type", std::move(type));
    if (!key.empty())
        more.set("Key", std::move(key));
    if (!title.empty())
        more.set("Title", std::move(title));
    return more;
}

inline core::Dictionary group(std::string title, std::string key = {}, std::string footer = {}) {
    core::Dictionary dictionary = row("PSGroupSpecifier", std::move(key), std::move(title));
    if (!footer.empty())
        dictionary.set("FooterText", std::move(footer));
    return dictionary;
}

class SettingsBundle {
public:
    const std::filesystem::path& path() const { return m_folder.path(); }

    void write(const std::string& relative, const std::string& text) const {
        ASSERT_TRUE(core::createDirectories((path() / relative).parent_path()));
        ASSERT_TRUE(core::writeFileAtomically(path() / relative, text));
    }
    // A settings file whose rows are `rows`.
    void writeSettings(const std::string& relative, core::Array rows,
                       const std::optional<std::string>& table = std::nullopt) const {
        core::Dictionary root{{"PreferenceSpecifiers", std::move(rows)}};
        if (table)
            root.set("StringsTable", *table);
        write(relative, *core::toPropertyList(core::Value(std::move(root))));
    }

private:
    core::TemporaryFolder m_folder;
};

} // namespace zm::testing
