#include "platform/core/Value.h"

#include "platform/core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace core {

namespace {

// Below this size a linear scan is faster than keeping an index up to date.
constexpr size_t kIndexThreshold = 16;

template <typename Integer> Integer saturatingCast(double value) {
    if (std::isnan(value))
        return 0;
    // The limits as doubles: max rounds up to 2^31 or 2^63, which is already out of range.
    constexpr auto low = static_cast<double>(std::numeric_limits<Integer>::min());
    constexpr auto high = static_cast<double>(std::numeric_limits<Integer>::max());
    if (value <= low)
        return std::numeric_limits<Integer>::min();
    if (value >= high)
        return std::numeric_limits<Integer>::max();
    return static_cast<Integer>(value);
}

} // namespace

struct DictionaryIndex {
    std::unordered_map<std::string_view, size_t> positions;
};

Dictionary::Dictionary() = default;

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
    for (const Entry& entry : entries)
        set(entry.key, entry.value);
}

Dictionary::Dictionary(const Dictionary& other)
    : m_entries(other.m_entries) {
    if (other.m_index)
        rebuildIndex();
}

Dictionary::Dictionary(Dictionary&&) noexcept = default;

Dictionary& Dictionary::operator=(const Dictionary& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_index.reset();
        if (other.m_index)
            rebuildIndex();
    }
    return *this;
}

Dictionary& Dictionary::operator=(Dictionary&&) noexcept = default;
Dictionary::~Dictionary() = default;

size_t Dictionary::size() const {
    return m_entries.size();
}

bool Dictionary::empty() const {
    return m_entries.empty();
}

size_t Dictionary::indexOf(std::string_view key) const {
    if (m_index) {
        const auto found = m_index->positions.find(key);
        return found == m_index->positions.end() ? m_entries.size() : found->second;
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key)
            return i;
    }
    return m_entries.size();
}

void Dictionary::rebuildIndex() {
    // The index points into the entries' keys, so it is rebuilt whenever the entries move.
    m_index = std::make_unique<DictionaryIndex>();
    m_index->positions.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_index->positions.emplace(m_entries[i].key, i);
}

bool Dictionary::contains(std::string_view key) const {
    return indexOf(key) < m_entries.size();
}

const Value* Dictionary::find(std::string_view key) const {
    const size_t i = indexOf(key);
    return i < m_entries.size() ? &m_entries[i].value : nullptr;
}

Value* Dictionary::find(std::string_view key) {
    const size_t i = indexOf(key);
    return i < m_entries.size() ? &m_entries[i].value : nullptr;
}

void Dictionary::set(std::string key, Value value) {
    const size_t i = indexOf(key);
    if (i < m_entries.size()) {
        m_entries[i].value = std::move(value);
        return;
    }
    const bool moves = m_entries.size() == m_entries.capacity();
    m_entries.push_back({std::move(key), std::move(value)});
    if (m_entries.size() >= kIndexThreshold) {
        if (moves || !m_index)
            rebuildIndex();
        else
            m_index->positions.emplace(m_entries.back().key, m_entries.size() - 1);
    }
}

bool Dictionary::remove(std::string_view key) {
    const size_t i = indexOf(key);
    if (i == m_entries.size())
        return false;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
    if (m_entries.size() >= kIndexThreshold)
        rebuildIndex();
    else
        m_index.reset();
    return true;
}

void Dictionary::clear() {
    m_entries.clear();
    m_index.reset();
}

const std::vector<Dictionary::Entry>& Dictionary::entries() const {
    return m_entries;
}

std::vector<std::string> Dictionary::keys() const {
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        keys.push_back(entry.key);
    return keys;
}

bool operator==(const Dictionary& x, const Dictionary& y) {
    if (x.size() != y.size())
        return false;
    return std::all_of(x.m_entries.begin(), x.m_entries.end(), [&](const Dictionary::Entry& entry) {
        const Value* other = y.find(entry.key);
        return other && *other == entry.value;
    });
}

Value::Value() = default;
Value::Value(std::nullptr_t) {}
Value::Value(bool value)
    : m_storage(value) {}
Value::Value(Integer value)
    : m_storage(value.value) {}
Value::Value(double value)
    : m_storage(value) {}
Value::Value(float value)
    : m_storage(static_cast<double>(value)) {}
Value::Value(std::string value)
    : m_storage(std::move(value)) {}
Value::Value(std::string_view value)
    : m_storage(std::string(value)) {}
Value::Value(const char* value)
    : m_storage(std::string(value ? value : "")) {}
Value::Value(Bytes value)
    : m_storage(std::move(value)) {}
Value::Value(Date value)
    : m_storage(value) {}
Value::Value(Array value)
    : m_storage(std::move(value)) {}
Value::Value(Dictionary value)
    : m_storage(std::move(value)) {}

Value::Kind Value::kind() const {
    return static_cast<Kind>(m_storage.index());
}

bool Value::isNumber() const {
    const Kind k = kind();
    return k == Kind::Bool || k == Kind::Integer || k == Kind::Real;
}

const std::string* Value::asString() const {
    return std::get_if<std::string>(&m_storage);
}

const Bytes* Value::asData() const {
    return std::get_if<Bytes>(&m_storage);
}

const Date* Value::asDate() const {
    return std::get_if<Date>(&m_storage);
}

const Array* Value::asArray() const {
    return std::get_if<Array>(&m_storage);
}

Array* Value::asArray() {
    return std::get_if<Array>(&m_storage);
}

const Dictionary* Value::asDictionary() const {
    return std::get_if<Dictionary>(&m_storage);
}

Dictionary* Value::asDictionary() {
    return std::get_if<Dictionary>(&m_storage);
}

bool Value::boolValue() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(m_storage);
    case Kind::Integer:
        return std::get<int64_t>(m_storage) != 0;
    case Kind::Real:
        return std::get<double>(m_storage) != 0;
    case Kind::String:
        return core::boolValue(std::get<std::string>(m_storage));
    default:
        return false;
    }
}

int64_t Value::integerValue() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(m_storage) ? 1 : 0;
    case Kind::Integer:
        return std::get<int64_t>(m_storage);
    case Kind::Real:
        return saturatingCast<int64_t>(std::get<double>(m_storage));
    case Kind::String:
        return core::integerValue(std::get<std::string>(m_storage));
    default:
        return 0;
    }
}

int32_t Value::intValue() const {
    switch (kind()) {
    case Kind::Real:
        return saturatingCast<int32_t>(std::get<double>(m_storage));
    case Kind::String:
        return core::intValue(std::get<std::string>(m_storage));
    default:
        return static_cast<int32_t>(std::clamp<int64_t>(integerValue(), std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    }
}

double Value::doubleValue() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(m_storage) ? 1 : 0;
    case Kind::Integer:
        return static_cast<double>(std::get<int64_t>(m_storage));
    case Kind::Real:
        return std::get<double>(m_storage);
    case Kind::String:
        return core::doubleValue(std::get<std::string>(m_storage));
    default:
        return 0;
    }
}

float Value::floatValue() const {
    if (const std::string* text = asString())
        return core::floatValue(*text);
    return static_cast<float>(doubleValue());
}

std::string Value::stringValue() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(m_storage) ? "1" : "0";
    case Kind::Integer:
        return std::to_string(std::get<int64_t>(m_storage));
    case Kind::Real:
        return numberText(std::get<double>(m_storage));
    case Kind::String:
        return std::get<std::string>(m_storage);
    default:
        return {};
    }
}

const Value* Value::find(std::string_view key) const {
    const Dictionary* dictionary = asDictionary();
    return dictionary ? dictionary->find(key) : nullptr;
}

bool operator==(const Value& x, const Value& y) {
    if (x.isNumber() && y.isNumber()) {
        if (x.kind() != Value::Kind::Real && y.kind() != Value::Kind::Real)
            return x.integerValue() == y.integerValue();
        return x.doubleValue() == y.doubleValue();
    }
    return x.m_storage == y.m_storage;
}

} // namespace core
