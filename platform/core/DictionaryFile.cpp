#include "platform/core/DictionaryFile.h"

#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/PropertyList.h"

namespace core {

namespace {

Result<Dictionary> readDictionary(const std::filesystem::path& file) {
    Result<std::string> text = readFile(file);
    if (!text)
        return text.error();
    Result<Value> value = parsePropertyList(*text);
    if (!value)
        return value.error();
    if (!value->asDictionary())
        return Error{std::string(kPropertyListErrorDomain), 2, "the file holds no dictionary", {}};
    return std::move(*value.value().asDictionary());
}

} // namespace

DictionaryFileContent readDictionaryFile(const std::filesystem::path& file, std::string_view owner) {
    removeAbandonedTemporaries(file);
    std::error_code code;
    if (!std::filesystem::exists(file, code))
        return {};
    Result<Dictionary> values = readDictionary(file);
    if (values)
        return {std::move(values).value()};
    const Result<std::filesystem::path> aside = setAsideUnreadable(file);
    if (!aside) {
        logf(LogLevel::Error, "%.*s: %s; starting empty, and the file cannot be set aside (%s), so it is left as it is",
             int(owner.size()), owner.data(), values.error().description.c_str(), aside.error().description.c_str());
        return {{}, true};
    }
    logf(LogLevel::Error, "%.*s: %s; starting empty, the file is kept as %s", int(owner.size()), owner.data(),
         values.error().description.c_str(), aside->c_str());
    return {};
}

Status writeDictionaryFile(const std::filesystem::path& file, const Dictionary& values) {
    Result<std::string> text = toPropertyList(Value(values));
    if (!text)
        return text.error();
    if (Status made = createDirectories(file.parent_path()); !made)
        return made;
    return writeFileAtomically(file, *text);
}

} // namespace core
