#include "platform/core/UserDefaults.h"

#include "platform/core/FileLocations.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/Log.h"

namespace core {

namespace {

struct StandardDefaults {
    std::mutex lock;
    std::shared_ptr<UserDefaults> defaults;
};

StandardDefaults& standardDefaults() {
    static StandardDefaults instance;
    return instance;
}

} // namespace

UserDefaults::UserDefaults(std::filesystem::path file)
    : m_file(std::move(file)) {
    DictionaryFileContent content = readDictionaryFile(m_file, "user defaults");
    m_values = std::move(content.values);
    m_fileMustStay = content.mustNotWrite;
}

UserDefaults& UserDefaults::standard() {
    StandardDefaults& standard = standardDefaults();
    const std::lock_guard guard(standard.lock);
    if (!standard.defaults)
        standard.defaults = std::make_shared<UserDefaults>(FileLocations::shared().userDefaults);
    return *standard.defaults;
}

void UserDefaults::setStandard(std::shared_ptr<UserDefaults> defaults) {
    StandardDefaults& standard = standardDefaults();
    const std::lock_guard guard(standard.lock);
    standard.defaults = std::move(defaults);
}

bool UserDefaults::contains(std::string_view key) const {
    const std::lock_guard guard(m_lock);
    return m_values.contains(key);
}

std::optional<Value> UserDefaults::objectForKey(std::string_view key) const {
    const std::lock_guard guard(m_lock);
    if (const Value* value = m_values.find(key))
        return *value;
    return std::nullopt;
}

bool UserDefaults::boolForKey(std::string_view key) const {
    return objectForKey(key).value_or(Value()).boolValue();
}

int64_t UserDefaults::integerForKey(std::string_view key) const {
    return objectForKey(key).value_or(Value()).integerValue();
}

float UserDefaults::floatForKey(std::string_view key) const {
    return objectForKey(key).value_or(Value()).floatValue();
}

double UserDefaults::doubleForKey(std::string_view key) const {
    return objectForKey(key).value_or(Value()).doubleValue();
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const {
    const std::optional<Value> value = objectForKey(key);
    if (!value || (!value->asString() && !value->isNumber()))
        return std::nullopt;
    return value->stringValue();
}

std::optional<Array> UserDefaults::arrayForKey(std::string_view key) const {
    const std::optional<Value> value = objectForKey(key);
    if (!value || !value->asArray())
        return std::nullopt;
    return *value->asArray();
}

std::optional<Dictionary> UserDefaults::dictionaryForKey(std::string_view key) const {
    const std::optional<Value> value = objectForKey(key);
    if (!value || !value->asDictionary())
        return std::nullopt;
    return *value->asDictionary();
}

std::optional<Bytes> UserDefaults::dataForKey(std::string_view key) const {
    const std::optional<Value> value = objectForKey(key);
    if (!value || !value->asData())
        return std::nullopt;
    return *value->asData();
}

Dictionary UserDefaults::dictionaryRepresentation() const {
    const std::lock_guard guard(m_lock);
    return m_values;
}

void UserDefaults::setObject(Value value, std::string_view key) {
    {
        const std::lock_guard guard(m_lock);
        if (value.isNull())
            m_values.remove(key);
        else
            m_values.set(std::string(key), std::move(value));
    }
    changed();
}

void UserDefaults::setBool(bool value, std::string_view key) {
    setObject(Value(value), key);
}

void UserDefaults::setInteger(int64_t value, std::string_view key) {
    setObject(Value(value), key);
}

void UserDefaults::setFloat(float value, std::string_view key) {
    setObject(Value(value), key);
}

void UserDefaults::setDouble(double value, std::string_view key) {
    setObject(Value(value), key);
}

void UserDefaults::removeObject(std::string_view key) {
    setObject(Value(), key);
}

bool UserDefaults::synchronize() {
    if (m_fileMustStay) {
        logf(LogLevel::Error, "user defaults: cannot save: %s could not be read nor set aside, so it is left as it is",
             m_file.c_str());
        return false;
    }
    const Dictionary values = dictionaryRepresentation();
    if (const Status written = writeDictionaryFile(m_file, values); !written) {
        logf(LogLevel::Error, "user defaults: cannot save: %s", written.error().description.c_str());
        return false;
    }
    return true;
}

UserDefaults::ObserverId UserDefaults::addChangeObserver(std::function<void()> observer) {
    const std::lock_guard guard(m_lock);
    const ObserverId id = m_nextObserverId++;
    m_observers.emplace_back(id, std::move(observer));
    return id;
}

void UserDefaults::removeChangeObserver(ObserverId id) {
    const std::lock_guard guard(m_lock);
    std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void UserDefaults::changed() {
    std::vector<std::pair<ObserverId, std::function<void()>>> observers;
    {
        const std::lock_guard guard(m_lock);
        observers = m_observers;
    }
    for (const auto& [id, observer] : observers)
        observer();
}

} // namespace core
