#include "platform/core/InfoPlist.h"

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/PropertyList.h"

#include <mutex>

namespace core {

namespace {

struct SharedInfo {
    std::mutex lock;
    std::shared_ptr<const Dictionary> dictionary; // guarded by lock; read at first use
};

SharedInfo& sharedInfo() {
    static SharedInfo info;
    return info;
}

} // namespace

Result<Dictionary> readInfoDictionary(const std::filesystem::path& path) {
    const Result<std::string> text = readFile(path);
    if (!text)
        return text.error();
    Result<Value> value = parsePropertyList(*text);
    if (!value)
        return value.error();
    if (Dictionary* dictionary = value.value().asDictionary())
        return std::move(*dictionary);
    return Error{std::string(kPropertyListErrorDomain), 1, path.string() + " holds no dictionary", {}};
}

Dictionary infoDictionary() {
    return *sharedInfoDictionary();
}

std::shared_ptr<const Dictionary> sharedInfoDictionary() {
    SharedInfo& shared = sharedInfo();
    std::lock_guard guard(shared.lock);
    if (!shared.dictionary) {
        const auto path = FileLocations::shared().resources / "Info.plist";
        Result<Dictionary> read = readInfoDictionary(path);
        if (!read)
            log(LogLevel::Warning, "the application's information is missing: " + read.error().text());
        shared.dictionary = std::make_shared<const Dictionary>(read ? std::move(read.value()) : Dictionary());
    }
    return shared.dictionary;
}

void setInfoDictionary(Dictionary dictionary) {
    SharedInfo& shared = sharedInfo();
    std::lock_guard guard(shared.lock);
    shared.dictionary = std::make_shared<const Dictionary>(std::move(dictionary));
}

ScopedInfoDictionary::ScopedInfoDictionary(Dictionary dictionary)
    : m_previous(infoDictionary()) {
    setInfoDictionary(std::move(dictionary));
}

ScopedInfoDictionary::~ScopedInfoDictionary() {
    setInfoDictionary(std::move(m_previous));
}

} // namespace core
