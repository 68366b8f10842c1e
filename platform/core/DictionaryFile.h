#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <string_view>

namespace core {

// Settings kept as one dictionary in an XML property-list file.

// The dictionary of `file`; empty when there is no file. A file that cannot be read as a dictionary
// is logged (as `owner`'s) and moved aside, its name gaining ".unreadable", so that writing the
// settings anew cannot destroy what might still be recovered; it reads as empty too.
Dictionary readDictionaryFile(const std::filesystem::path& file, std::string_view owner);

// Writes `values` to `file` atomically (its folder made when missing); on failure the file keeps its
// previous content and the error is answered.
Status writeDictionaryFile(const std::filesystem::path& file, const Dictionary& values);

} // namespace core
