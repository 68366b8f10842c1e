#pragma once

// A version store held in memory, for tests of code that chooses between versions: each item has a
// current version and versions kept aside, with dates the test sets, and its bytes.

#include "platform/documents/FileVersionStore.h"

#include <algorithm>
#include <map>
#include <string>

namespace documents::testing {

class InMemoryFileVersionStore : public FileVersionStore {
public:
    struct Kept {
        FileVersion version;
        std::string bytes;
    };
    struct Item {
        std::optional<Kept> current;
        std::vector<Kept> others;
    };

    // Sets up `item` with its current bytes and date.
    void setCurrent(const std::filesystem::path& item, std::string bytes, double date) {
        m_items[item].current = Kept{{item, {date}, true, true}, std::move(bytes)};
    }
    // Keeps another version of `item`, unresolved, named by its bytes.
    void addOther(const std::filesystem::path& item, std::string bytes, double date) {
        m_items[item].others.push_back(
            {{item.string() + "#" + bytes, {date}, false, false}, std::move(bytes)});
    }
    const Item& item(const std::filesystem::path& item) { return m_items[item]; }

    std::optional<FileVersion> currentVersionOfItem(const std::filesystem::path& item) override {
        const std::optional<Kept>& current = m_items[item].current;
        return current ? std::optional<FileVersion>(current->version) : std::nullopt;
    }
    std::vector<FileVersion> otherVersionsOfItem(const std::filesystem::path& item) override {
        std::vector<FileVersion> versions;
        for (const Kept& kept : m_items[item].others)
            versions.push_back(kept.version);
        return versions;
    }
    std::vector<FileVersion> unresolvedConflictVersionsOfItem(const std::filesystem::path& item) override {
        std::vector<FileVersion> versions = otherVersionsOfItem(item);
        std::erase_if(versions, [](const FileVersion& version) { return version.resolved; });
        return versions;
    }
    core::Status addConflictVersionOfItem(const std::filesystem::path& item, std::string_view bytes) override {
        addOther(item, std::string(bytes), 0);
        return {};
    }
    core::Status replaceItem(const std::filesystem::path& item, const FileVersion& version) override {
        Item& entry = m_items[item];
        const auto found = std::find_if(entry.others.begin(), entry.others.end(),
                                        [&](const Kept& kept) { return kept.version.url == version.url; });
        if (found == entry.others.end() || !entry.current)
            return core::Error{"test", 1, "no such version", {}};
        entry.current->bytes = found->bytes;
        entry.current->version.modificationDate = found->version.modificationDate;
        return {};
    }
    core::Status removeOtherVersionsOfItem(const std::filesystem::path& item) override {
        m_items[item].others.clear();
        return {};
    }
    core::Status setResolved(const FileVersion& version, bool resolved) override {
        for (auto& [path, entry] : m_items) {
            for (Kept& kept : entry.others) {
                if (kept.version.url == version.url)
                    kept.version.resolved = resolved;
            }
        }
        return {};
    }
    core::Status moveVersionsOfItem(const std::filesystem::path& from, const std::filesystem::path& to) override {
        m_items[to].others = std::move(m_items[from].others);
        m_items[from].others.clear();
        return {};
    }

private:
    std::map<std::filesystem::path, Item> m_items;
};

} // namespace documents::testing
