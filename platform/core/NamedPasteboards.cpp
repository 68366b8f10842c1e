#include "platform/core/NamedPasteboards.h"

#include "platform/core/Encoding.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"

namespace core {

namespace {

// Longer escaped names would pass the file system's limit on a name.
constexpr size_t kLongestFileName = 200;

} // namespace

NamedPasteboards::NamedPasteboards(std::filesystem::path folder)
    : m_folder(std::move(folder)) {}

NamedPasteboards NamedPasteboards::shared() {
    return NamedPasteboards(FileLocations::shared().pasteboards);
}

std::optional<std::filesystem::path> NamedPasteboards::fileOf(std::string_view name) const {
    // Any name is one plain file name: separators and everything but letters, digits and "-._~" are
    // escaped, and the suffix keeps "." and ".." from naming folders.
    const std::string file = percentEscape(name, "-._~") + ".pasteboard";
    if (name.empty() || file.size() > kLongestFileName)
        return std::nullopt;
    return m_folder / file;
}

std::optional<std::string> NamedPasteboards::string(std::string_view name) const {
    const auto file = fileOf(name);
    if (!file)
        return std::nullopt;
    Result<std::string> text = readFile(*file);
    if (!text)
        return std::nullopt;
    return std::move(text.value());
}

Status NamedPasteboards::setString(std::string_view name, std::string_view text) const {
    const auto file = fileOf(name);
    if (!file)
        return Error{std::string(kPasteboardErrorDomain), 1, "no pasteboard can be named \"" + std::string(name) + "\"", {}};
    if (Status made = createDirectories(m_folder); !made)
        return made;
    return writeFileAtomically(*file, text);
}

} // namespace core
