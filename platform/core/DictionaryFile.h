#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <string_view>

namespace core {

// Settings kept as one dictionary in an XML property-list file.

struct DictionaryFileContent {
    Dictionary values;
    // The file could not be read and could not be set aside either: writing it would destroy what
    // might still be recovered, so it must be left as it is.
    bool mustNotWrite = false;
};

// The dictionary of `file`; empty when there is no file. First removes the temporaries that a writer
// killed before its rename left beside the file. A file that cannot be read as a dictionary is logged
// (as `owner`'s) and moved aside, under the first free name of "<file>.unreadable",
// "<file>.unreadable.2", ..., so that writing the settings anew destroys neither it nor an earlier
// copy; it reads as empty too. When it cannot be moved aside it is kept where it is and marked as
// not to be written.
DictionaryFileContent readDictionaryFile(const std::filesystem::path& file, std::string_view owner);

// Writes `values` to `file` atomically (its folder made when missing); on failure the file keeps its
// previous content and the error is answered.
Status writeDictionaryFile(const std::filesystem::path& file, const Dictionary& values);

} // namespace core
