#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <memory>

namespace core {

// The application's information property list, resources/Info.plist: its identifier, names,
// versions and URL types ("CFBundleIdentifier", "CFBundleName", "CFBundleShortVersionString",
// "CFBundleURLTypes"...). Components that describe the application read it here.

// The dictionary at the top of an information property list file; an error when the file cannot be
// read or holds anything else.
Result<Dictionary> readInfoDictionary(const std::filesystem::path& path);

// The process's information dictionary: the resources' Info.plist, read at first use (a missing or
// unreadable file is logged and gives an empty dictionary), until replaced. A copy; any thread.
Dictionary infoDictionary();
// The same without a copy, for callers that read it often.
std::shared_ptr<const Dictionary> sharedInfoDictionary();
void setInfoDictionary(Dictionary dictionary);

// For tests: the process has `dictionary` as its information while this lives.
class ScopedInfoDictionary {
public:
    explicit ScopedInfoDictionary(Dictionary dictionary);
    ~ScopedInfoDictionary();
    ScopedInfoDictionary(const ScopedInfoDictionary&) = delete;
    ScopedInfoDictionary& operator=(const ScopedInfoDictionary&) = delete;

private:
    Dictionary m_previous;
};

} // namespace core
