#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// The file names of problem sets.

// A name typed for a set made fit to be a file name in its folder: a "/" (or a NUL) would make a path
// of it and becomes "-", leading points would hide it and are dropped, and a name left blank is
// `defaultName`.
std::string cleanSetName(std::string_view typed, std::string_view defaultName);

// "base.extension", else "base(2).extension", "base(3).extension", ...: the first that `isTaken` refuses.
std::string uniqueIncrementOfFilename(std::string_view base, std::string_view extension,
                                      const std::function<bool(const std::string&)>& isTaken);

// In order of their file names, whatever the case of the letters.
void sortByNameIgnoringCase(std::vector<std::filesystem::path>& urls);

// The entries of `folder` whose names end in "." and the extension (hidden ones too), sorted; an
// error when the folder cannot be read.
core::Result<std::vector<std::filesystem::path>> setFilesIn(const std::filesystem::path& folder,
                                                            std::string_view extension);

} // namespace zm
