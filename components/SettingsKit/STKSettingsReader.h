#pragma once

#include "components/SettingsKit/STKSpecifier.h"
#include "platform/core/Value.h"
#include "platform/ui/Device.h"
#include "platform/ui/IndexPath.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class Localization;
}

namespace zm {

// What the search for a settings file depends on: the device's kind and the user's languages, most
// wanted first. By default those of the running program.
struct STKSettingsEnvironment {
    std::optional<ui::Idiom> idiom;
    std::vector<std::string> preferredLanguages;

    static STKSettingsEnvironment current();
};

// A settings file: a property list whose "PreferenceSpecifiers" are the rows of a settings screen in
// order, and whose optional "StringsTable" names the table that localises its texts. The reader finds
// the file in the application bundle (a folder of resources holding "AppSettings.bundle" or
// "Settings.bundle", each with language folders), cuts its rows into sections at the group rows,
// leaves out rows whose keys are hidden, and answers the questions of the screens. It holds no values:
// those live in a settings store.
//
// Main thread only.
class STKSettingsReader {
public:
    // "Root" of the program's resources.
    STKSettingsReader();
    explicit STKSettingsReader(std::string_view file);
    STKSettingsReader(std::string_view file, std::filesystem::path applicationBundle,
                      STKSettingsEnvironment environment = STKSettingsEnvironment::current());
    ~STKSettingsReader();
    STKSettingsReader(const STKSettingsReader&) = delete;
    STKSettingsReader& operator=(const STKSettingsReader&) = delete;

    // The first of sixteen candidates that exists (settings bundle, extension, device suffix, language
    // folder, the first of each list outermost); the last candidate when none does.
    std::filesystem::path locateSettingsFile(std::string_view file) const;
    // "~iphone" for a phone, "~ipad" for a tablet, nothing for a device that is neither.
    static std::string platformSuffixForInterfaceIdiom(std::optional<ui::Idiom> idiom);
    std::filesystem::path file(std::string_view file, const std::filesystem::path& bundle, std::string_view suffix,
                               std::string_view extension) const;

    const std::filesystem::path& applicationBundle() const { return m_applicationBundle; }
    const std::filesystem::path& settingsBundle() const { return m_settingsBundle; }
    const std::optional<core::Dictionary>& settingsDictionary() const { return m_settingsDictionary; }
    const std::string& localizationTable() const { return m_localizationTable; }

    const std::set<std::string, std::less<>>& hiddenKeys() const { return m_hiddenKeys; }
    // Leaves out the rows (and groups) with these keys; cuts the sections anew when they changed.
    void setHiddenKeys(std::set<std::string, std::less<>> keys);

    int numberOfSections() const;
    int numberOfRowsForSection(int section) const;
    // The row at `indexPath`, handed out with this reader to localise it; null outside the sections.
    std::shared_ptr<STKSpecifier> specifierForIndexPath(ui::IndexPath indexPath) const;
    std::optional<ui::IndexPath> indexPathForKey(std::string_view key) const;
    std::shared_ptr<STKSpecifier> specifierForKey(std::string_view key) const;
    // The heading, group key and footer of a section opened by a group row; nothing for others.
    std::optional<std::string> titleForSection(int section) const;
    std::optional<std::string> keyForSection(int section) const;
    std::optional<std::string> footerTextForSection(int section) const;
    // The text's translation in the file's strings table; the text itself when there is none.
    std::string titleForStringId(std::string_view text) const;
    std::filesystem::path pathForImageNamed(std::string_view file) const;

private:
    struct Section {
        std::optional<core::Dictionary> group; // the group row that opens it
        std::vector<std::shared_ptr<STKSpecifier>> rows;
    };

    void cutSections();
    const Section* section(int index) const;
    std::string chooseLocalizationTable(const std::filesystem::path& located) const;
    bool hasStringsTable(std::string_view name) const;

    std::filesystem::path m_applicationBundle;
    STKSettingsEnvironment m_environment;
    std::filesystem::path m_settingsBundle;
    std::optional<core::Dictionary> m_settingsDictionary;
    std::string m_localizationTable;
    std::unique_ptr<core::Localization> m_strings;
    std::vector<Section> m_dataSource;
    std::set<std::string, std::less<>> m_hiddenKeys;
};

} // namespace zm
