#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace core {

inline constexpr std::string_view kPasteboardErrorDomain = "core.pasteboard";

// Pasteboards known by name that keep their text after the program ends, so that one program (or
// one run) leaves a text for another to find. Each is a file in one folder, written whole or not at all.
//
// Thread safety: any thread; concurrent writers of one name leave one of their texts whole.
class NamedPasteboards {
public:
    explicit NamedPasteboards(std::filesystem::path folder);
    // The pasteboards of the data root (FileLocations::pasteboards).
    static NamedPasteboards shared();

    // The pasteboard's text; nothing when no pasteboard of that name was ever written.
    std::optional<std::string> string(std::string_view name) const;
    // Makes the pasteboard when it is missing and gives it the text.
    Status setString(std::string_view name, std::string_view text) const;

private:
    std::optional<std::filesystem::path> fileOf(std::string_view name) const;

    std::filesystem::path m_folder;
};

} // namespace core
