#include "platform/core/Json.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace core {

namespace {

constexpr size_t kMaximumDepth = 512;

using OrderedJson = nlohmann::ordered_json;

// Builds a Value straight from the parser's events, without an intermediate document.
class ValueBuilder final : public nlohmann::json_sax<OrderedJson> {
public:
    bool null() override { return add(Value()); }
    bool boolean(bool value) override { return add(Value(value)); }
    bool number_integer(number_integer_t value) override { return add(Value(value)); }
    bool number_unsigned(number_unsigned_t value) override {
        if (value > static_cast<number_unsigned_t>(std::numeric_limits<int64_t>::max()))
            return add(Value(static_cast<double>(value)));
        return add(Value(static_cast<int64_t>(value)));
    }
    bool number_float(number_float_t value, const string_t&) override { return add(Value(value)); }
    bool string(string_t& value) override { return add(Value(std::move(value))); }
    bool binary(binary_t&) override { return fail("binary values are not JSON"); }

    bool start_object(std::size_t) override { return open(Value(Dictionary())); }
    bool key(string_t& key) override {
        m_keys.back() = std::move(key);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value(Array())); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // The library's message repeats the position; keep only its explanation.
        std::string what = error.what();
        const size_t colon = what.rfind(": ");
        if (colon != std::string::npos)
            what = what.substr(colon + 2);
        return fail("JSON text is malformed at byte " + std::to_string(position) + ": " + what);
    }

    Result<Value> result() && {
        if (m_error)
            return Error{std::string(kJsonErrorDomain), 1, *m_error, {}};
        return std::move(m_root);
    }

private:
    bool add(Value value) {
        if (m_stack.empty()) {
            m_root = std::move(value);
            return true;
        }
        Value& container = m_stack.back();
        if (Array* array = container.asArray())
            array->push_back(std::move(value));
        else if (!container.asDictionary()->contains(m_keys.back()))
            container.asDictionary()->set(m_keys.back(), std::move(value));
        else
            *container.asDictionary()->find(m_keys.back()) = std::move(value);
        return true;
    }

    bool open(Value container) {
        if (m_stack.size() >= kMaximumDepth)
            return fail("JSON text nests deeper than " + std::to_string(kMaximumDepth) + " levels");
        m_stack.push_back(std::move(container));
        m_keys.emplace_back();
        return true;
    }

    bool close() {
        Value finished = std::move(m_stack.back());
        m_stack.pop_back();
        m_keys.pop_back();
        return add(std::move(finished));
    }

    bool fail(std::string message) {
        if (!m_error)
            m_error = std::move(message);
        return false;
    }

    Value m_root;
    std::vector<Value> m_stack;
    std::vector<std::string> m_keys;
    std::optional<std::string> m_error;
};

OrderedJson toDocument(const Value& value, size_t depth) {
    if (depth > kMaximumDepth)
        return nullptr;
    switch (value.kind()) {
    case Value::Kind::Null:
        return nullptr;
    case Value::Kind::Bool:
        return value.boolValue();
    case Value::Kind::Integer:
        return value.integerValue();
    case Value::Kind::Real: {
        const double real = value.doubleValue();
        if (!std::isfinite(real))
            return nullptr;
        return real;
    }
    case Value::Kind::String:
        return *value.asString();
    case Value::Kind::Data:
        return base64Encode(*value.asData());
    case Value::Kind::Date:
        return value.asDate()->iso8601();
    case Value::Kind::Array: {
        OrderedJson array = OrderedJson::array();
        for (const Value& element : *value.asArray())
            array.push_back(toDocument(element, depth + 1));
        return array;
    }
    case Value::Kind::Dictionary: {
        OrderedJson object = OrderedJson::object();
        // Keys are unique already: append without the map's linear search for an existing key.
        auto& members = object.get_ref<OrderedJson::object_t&>();
        for (const Dictionary::Entry& entry : value.asDictionary()->entries())
            members.emplace_back(entry.key, toDocument(entry.value, depth + 1));
        return object;
    }
    }
    return nullptr;
}

} // namespace

Result<Value> parseJson(std::string_view text) {
    ValueBuilder builder;
    OrderedJson::sax_parse(text.begin(), text.end(), &builder, nlohmann::detail::input_format_t::json, true);
    return std::move(builder).result();
}

std::string toJson(const Value& value, JsonStyle style) {
    return toDocument(value, 0).dump(style == JsonStyle::Indented ? 2 : -1, ' ', false,
                                     OrderedJson::error_handler_t::replace);
}

} // namespace core
