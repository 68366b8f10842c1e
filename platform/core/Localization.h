#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace core {

inline constexpr std::string_view kStringsErrorDomain = "core.strings";

using StringsTable = std::unordered_map<std::string, std::string>;

// Reads a strings table: entries `"key" = "value";` (or `"key";`, meaning the key itself), with
// /* */ and // comments, the escapes \" \\ \n \t \r \uXXXX \UXXXX and octal \ooo, and words
// without quotes. UTF-8 with or without a byte-order mark, or UTF-16 with one. A later entry for
// the same key wins. A malformed file is an error naming the line.
Result<StringsTable> parseStringsFile(std::string_view bytes);

// The user's languages, most wanted first, from LANGUAGE (a colon-separated list) and then LANG:
// "de_DE.UTF-8" gives "de", "en_GB" gives "en-GB", "en_US" and "C" give "en". A language whose
// region is its home region (de_DE, fr_FR) or US English is named by its language code alone;
// other regions are kept as "language-REGION". Without any, ["en"].
std::vector<std::string>
preferredLanguagesFromEnvironment(const std::function<const char*(const char*)>& environment);

// Looks up texts in the strings tables of a bundle folder, which holds one folder per language
// ("en.lproj/Localizable.strings"). The English text is the key; a missing key answers the given
// default value, or the key itself when the default is empty. Safe from any thread.
class Localization {
public:
    Localization(std::filesystem::path bundle, std::vector<std::string> preferredLanguages);

    // The program's texts: the resources folder and the environment's languages, until replaced.
    static const Localization& main();
    static void setMain(std::shared_ptr<const Localization> localization);

    const std::vector<std::string>& preferredLanguages() const { return m_preferredLanguages; }
    const std::filesystem::path& bundle() const { return m_bundle; }

    std::string localizedString(std::string_view key, std::string_view value = {},
                                std::string_view table = "Localizable") const;

private:
    // The table from the first language folder that has it: each preferred language, then its
    // language code without region, then "en" and "Base", then the bundle folder itself (a bundle
    // that is a language folder). A file that cannot be read is logged and passed over.
    const StringsTable& table(std::string_view name) const;

    const std::filesystem::path m_bundle;
    const std::vector<std::string> m_preferredLanguages;
    mutable std::mutex m_lock;
    mutable std::map<std::string, StringsTable, std::less<>> m_tables; // guarded by m_lock
};

// The program's text for an English key, from the main table.
std::string localized(std::string_view key);
// The program's text for a pattern with one "%@" (an English key), with `value` in its place.
std::string localizedFillingIn(std::string_view pattern, std::string_view value);

} // namespace core
