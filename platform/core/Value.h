#pragma once

#include "platform/core/Date.h"
#include "platform/core/Encoding.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace core {

class Value;

// String keys in insertion order. Equality ignores the order, as two dictionaries with the same
// entries are the same settings.
class Dictionary {
public:
    struct Entry;

    Dictionary();
    Dictionary(std::initializer_list<Entry> entries);
    Dictionary(const Dictionary&);
    Dictionary(Dictionary&&) noexcept;
    Dictionary& operator=(const Dictionary&);
    Dictionary& operator=(Dictionary&&) noexcept;
    ~Dictionary();

    size_t size() const;
    bool empty() const;
    bool contains(std::string_view key) const;
    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    // Replaces the value of an existing key in its place; a new key goes last.
    void set(std::string key, Value value);
    bool remove(std::string_view key);
    void clear();

    const std::vector<Entry>& entries() const;
    std::vector<std::string> keys() const;

    friend bool operator==(const Dictionary& x, const Dictionary& y);

private:
    // Position of a key; kept once the dictionary is large enough for a linear scan to hurt.
    size_t indexOf(std::string_view key) const;
    void rebuildIndex();

    std::vector<Entry> m_entries;
    std::unique_ptr<struct DictionaryIndex> m_index;
};

using Array = std::vector<Value>;

// A property-list value: null, truth value, integer, real, text, bytes, date, array or dictionary.
// Numbers convert among themselves and from text the way the platform's number objects do.
class Value {
public:
    enum class Kind { Null, Bool, Integer, Real, String, Data, Date, Array, Dictionary };

    Value();
    Value(std::nullptr_t);
    Value(bool value);
    template <std::integral I>
    requires(!std::same_as<I, bool> && !std::same_as<I, char>) Value(I value)
        : Value(Integer{static_cast<int64_t>(value)}) {}
    Value(double value);
    Value(float value);
    Value(std::string value);
    Value(std::string_view value);
    Value(const char* value);
    Value(Bytes value);
    Value(Date value);
    Value(Array value);
    Value(Dictionary value);

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }
    // A truth value, an integer or a real.
    bool isNumber() const;

    // The stored object when it is of that kind, else null.
    const std::string* asString() const;
    const Bytes* asData() const;
    const Date* asDate() const;
    const Array* asArray() const;
    Array* asArray();
    const Dictionary* asDictionary() const;
    Dictionary* asDictionary();

    // Conversions. Numbers convert among themselves (reals are truncated toward zero and saturate at
    // the integer limits); texts are read with the number-text rules; anything else gives false or 0.
    bool boolValue() const;
    int32_t intValue() const;
    int64_t integerValue() const;
    float floatValue() const;
    double doubleValue() const;
    // The text of a text, the decimal text of a number ("1" and "0" for truth values), else "".
    std::string stringValue() const;

    // A member of a dictionary value; null when this is no dictionary or has no such key.
    const Value* find(std::string_view key) const;

    // Numbers are equal when their values are (true == 1 == 1.0); other kinds by content.
    friend bool operator==(const Value& x, const Value& y);

private:
    struct Integer {
        int64_t value;
    };
    explicit Value(Integer value);

    // In the order of Kind.
    std::variant<std::monostate, bool, int64_t, double, std::string, Bytes, Date, Array, Dictionary>
        m_storage;
};

struct Dictionary::Entry {
    std::string key;
    Value value;
};

} // namespace core
