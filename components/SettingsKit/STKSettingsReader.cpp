#include "components/SettingsKit/STKSettingsReader.h"

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Localization.h"
#include "platform/core/PropertyList.h"

namespace zm {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::optional<core::Dictionary> readDictionary(const std::filesystem::path& path) {
    const core::Result<std::string> text = core::readFile(path);
    if (!text)
        return std::nullopt;
    core::Result<core::Value> value = core::parsePropertyList(*text);
    if (!value || !value->asDictionary())
        return std::nullopt;
    return *value->asDictionary();
}

std::string stringOf(const core::Dictionary& dictionary, std::string_view key) {
    const core::Value* value = dictionary.find(key);
    return value && value->asString() ? *value->asString() : std::string();
}

} // namespace

STKSettingsEnvironment STKSettingsEnvironment::current() {
    return {ui::Device::current().idiom, core::Localization::main().preferredLanguages()};
}

STKSettingsReader::STKSettingsReader()
    : STKSettingsReader("Root") {}

STKSettingsReader::STKSettingsReader(std::string_view file)
    : STKSettingsReader(file, core::FileLocations::shared().resources) {}

STKSettingsReader::STKSettingsReader(std::string_view file, std::filesystem::path applicationBundle,
                                     STKSettingsEnvironment environment)
    : m_applicationBundle(std::move(applicationBundle))
    , m_environment(std::move(environment)) {
    const std::filesystem::path located = locateSettingsFile(file);
    m_settingsDictionary = readDictionary(located);
    m_settingsBundle = located.parent_path();
    m_strings = std::make_unique<core::Localization>(m_settingsBundle, m_environment.preferredLanguages);
    m_localizationTable = m_settingsDictionary && m_settingsDictionary->find("StringsTable")
                              ? stringOf(*m_settingsDictionary, "StringsTable")
                              : chooseLocalizationTable(located);
    if (m_settingsDictionary)
        cutSections();
}

STKSettingsReader::~STKSettingsReader() = default;

std::string STKSettingsReader::platformSuffixForInterfaceIdiom(std::optional<ui::Idiom> idiom) {
    if (idiom == ui::Idiom::Phone)
        return "~iphone";
    if (idiom == ui::Idiom::Tablet)
        return "~ipad";
    return "";
}

std::filesystem::path STKSettingsReader::file(std::string_view file, const std::filesystem::path& bundle,
                                              std::string_view suffix, std::string_view extension) const {
    return m_applicationBundle / bundle / (std::string(file) + std::string(suffix) + std::string(extension));
}

std::filesystem::path STKSettingsReader::locateSettingsFile(std::string_view file) const {
    // A device that cannot tell its kind counts as a phone.
    const std::string deviceSuffix = platformSuffixForInterfaceIdiom(m_environment.idiom.value_or(ui::Idiom::Phone));
    const std::string language =
        m_environment.preferredLanguages.empty() ? std::string() : m_environment.preferredLanguages.front() + ".lproj";
    std::filesystem::path candidate;
    for (const char* bundle : {"AppSettings.bundle", "Settings.bundle"}) {
        std::vector<std::filesystem::path> folders;
        if (!language.empty())
            folders.push_back(std::filesystem::path(bundle) / language);
        folders.emplace_back(bundle);
        for (const char* extension : {".inApp.plist", ".plist"})
            for (const std::string& suffix : {deviceSuffix, std::string()})
                for (const std::filesystem::path& folder : folders) {
                    candidate = this->file(file, folder, suffix, extension);
                    if (isFile(candidate))
                        return candidate;
                }
    }
    return candidate;
}

std::string STKSettingsReader::chooseLocalizationTable(const std::filesystem::path& located) const {
    // Root~ipad.inApp.plist gives Root.
    std::string name = located.stem().stem().filename().string();
    const std::string suffix = platformSuffixForInterfaceIdiom(m_environment.idiom.value_or(ui::Idiom::Phone));
    for (size_t at = name.find(suffix); !suffix.empty() && at != std::string::npos; at = name.find(suffix))
        name.erase(at, suffix.size());
    return hasStringsTable(name) ? name : "Root";
}

bool STKSettingsReader::hasStringsTable(std::string_view name) const {
    const std::string fileName = std::string(name) + ".strings";
    if (isFile(m_settingsBundle / fileName))
        return true;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_settingsBundle, error))
        if (entry.path().extension() == ".lproj" && isFile(entry.path() / fileName))
            return true;
    return false;
}

void STKSettingsReader::setHiddenKeys(std::set<std::string, std::less<>> keys) {
    if (keys == m_hiddenKeys)
        return;
    m_hiddenKeys = std::move(keys);
    if (m_settingsDictionary)
        cutSections();
}

void STKSettingsReader::cutSections() {
    std::vector<Section> sections;
    const core::Value* rows = m_settingsDictionary->find("PreferenceSpecifiers");
    if (rows && rows->asArray()) {
        for (const core::Value& row : *rows->asArray()) {
            const core::Dictionary* dictionary = row.asDictionary();
            if (!dictionary)
                continue;
            const core::Value* key = dictionary->find("Key");
            if (key && key->asString() && m_hiddenKeys.contains(*key->asString()))
                continue;
            if (stringOf(*dictionary, "Type") == kSTKPSGroupSpecifier) {
                sections.push_back({*dictionary, {}});
                continue;
            }
            if (sections.empty())
                sections.emplace_back();
            sections.back().rows.push_back(std::make_shared<STKSpecifier>(*dictionary));
        }
    }
    for (Section& section : sections)
        for (const std::shared_ptr<STKSpecifier>& row : section.rows)
            row->setSettingsReader(this);
    m_dataSource = std::move(sections);
}

const STKSettingsReader::Section* STKSettingsReader::section(int index) const {
    if (index < 0 || size_t(index) >= m_dataSource.size())
        return nullptr;
    return &m_dataSource[size_t(index)];
}

int STKSettingsReader::numberOfSections() const {
    return int(m_dataSource.size());
}

int STKSettingsReader::numberOfRowsForSection(int index) const {
    const Section* found = section(index);
    return found ? int(found->rows.size()) : 0;
}

std::shared_ptr<STKSpecifier> STKSettingsReader::specifierForIndexPath(ui::IndexPath indexPath) const {
    const Section* found = section(indexPath.section);
    if (!found || indexPath.row() < 0 || size_t(indexPath.row()) >= found->rows.size())
        return nullptr;
    const std::shared_ptr<STKSpecifier>& row = found->rows[size_t(indexPath.row())];
    row->setSettingsReader(this);
    return row;
}

std::optional<ui::IndexPath> STKSettingsReader::indexPathForKey(std::string_view key) const {
    for (size_t section = 0; section < m_dataSource.size(); ++section) {
        const std::vector<std::shared_ptr<STKSpecifier>>& rows = m_dataSource[section].rows;
        for (size_t row = 0; row < rows.size(); ++row)
            if (rows[row]->key() == key)
                return ui::IndexPath{int(section), int(row)};
    }
    return std::nullopt;
}

std::shared_ptr<STKSpecifier> STKSettingsReader::specifierForKey(std::string_view key) const {
    for (const Section& section : m_dataSource)
        for (const std::shared_ptr<STKSpecifier>& row : section.rows)
            if (row->key() == key)
                return row;
    return nullptr;
}

std::optional<std::string> STKSettingsReader::titleForSection(int index) const {
    const Section* found = section(index);
    if (!found || !found->group)
        return std::nullopt;
    const std::string title = stringOf(*found->group, "Title");
    return title.empty() ? std::string() : titleForStringId(title);
}

std::optional<std::string> STKSettingsReader::keyForSection(int index) const {
    const Section* found = section(index);
    if (!found || !found->group || !found->group->find("Key"))
        return std::nullopt;
    return stringOf(*found->group, "Key");
}

std::optional<std::string> STKSettingsReader::footerTextForSection(int index) const {
    const Section* found = section(index);
    if (!found || !found->group)
        return std::nullopt;
    const std::string footer = stringOf(*found->group, "FooterText");
    return footer.empty() ? std::string() : titleForStringId(footer);
}

std::string STKSettingsReader::titleForStringId(std::string_view text) const {
    return m_strings->localizedString(text, {}, m_localizationTable);
}

std::filesystem::path STKSettingsReader::pathForImageNamed(std::string_view file) const {
    return m_settingsBundle / file;
}

} // namespace zm
