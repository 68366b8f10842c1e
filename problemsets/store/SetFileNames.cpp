#include "problemsets/store/SetFileNames.h"

#include "platform/core/Files.h"

#include <algorithm>
#include <cctype>

namespace zm {

std::string cleanSetName(std::string_view typed, std::string_view defaultName) {
    std::string name;
    for (const char c : typed)
        name += (c == '/' || c == '\0') ? '-' : c;
    name.erase(0, name.find_first_not_of('.'));
    const bool blank =
        std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c) != 0; });
    return blank ? std::string(defaultName) : name;
}

std::string uniqueIncrementOfFilename(std::string_view base, std::string_view extension,
                                      const std::function<bool(const std::string&)>& isTaken) {
    const std::string suffix = "." + std::string(extension);
    std::string candidate = std::string(base) + suffix;
    for (int n = 2; isTaken(candidate); ++n)
        candidate = std::string(base) + "(" + std::to_string(n) + ")" + suffix;
    return candidate;
}

void sortByNameIgnoringCase(std::vector<std::filesystem::path>& urls) {
    const auto lower = [](const std::filesystem::path& url) {
        std::string name = url.filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return name;
    };
    std::stable_sort(urls.begin(), urls.end(),
                     [&](const std::filesystem::path& a, const std::filesystem::path& b) { return lower(a) < lower(b); });
}

core::Result<std::vector<std::filesystem::path>> setFilesIn(const std::filesystem::path& folder,
                                                            std::string_view extension) {
    core::Result<std::vector<core::DirectoryEntry>> entries = core::listDirectory(folder);
    if (!entries)
        return entries.error();
    const std::string suffix = "." + std::string(extension);
    std::vector<std::filesystem::path> urls;
    for (const core::DirectoryEntry& entry : *entries) {
        if (entry.name.ends_with(suffix))
            urls.push_back(folder / entry.name);
    }
    sortByNameIgnoringCase(urls);
    return urls;
}

} // namespace zm
