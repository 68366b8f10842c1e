#include "analytics/TMJSON.h"

#include "platform/core/Encoding.h"
#include "platform/core/NumberText.h"

#include <cmath>

namespace zm {

namespace {

void appendString(std::string_view text, std::string& target) {
    target.reserve(target.size() + text.size() + 2);
    target += '"';
    for (const char byte : text) {
        switch (byte) {
        case '\b': target += "\\b"; break;
        case '\t': target += "\\t"; break;
        case '\n': target += "\\n"; break;
        case '\f': target += "\\f"; break;
        case '\r': target += "\\r"; break;
        case '"': target += "\\\""; break;
        case '/': target += "\\/"; break;
        case '\\': target += "\\\\"; break;
        default: target += byte;
        }
    }
    target += '"';
}

std::string numberDescription(const core::Value& number) {
    switch (number.kind()) {
    case core::Value::Kind::Bool:
        return number.boolValue() ? "1" : "0";
    case core::Value::Kind::Integer:
        return std::to_string(number.integerValue());
    default:
        return core::numberText(number.doubleValue());
    }
}

// "2024-01-01 00:00:00 +0000".
std::string dateDescription(const core::Date& date) {
    std::string text = date.iso8601();
    text[10] = ' ';
    text.pop_back();
    return text + " +0000";
}

// "<00010203 04>": hexadecimal in groups of four bytes.
std::string dataDescription(const core::Bytes& bytes) {
    std::string text = "<";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            text += ' ';
        text += core::hexString(std::string_view(reinterpret_cast<const char*>(&bytes[i]), 1));
    }
    return text + ">";
}

} // namespace

std::string TMJSONStringFromObject(const core::Value& object) {
    std::string text;
    text.reserve(256);
    TMJSONAppendObject(object, text, false);
    return text;
}

void TMJSONAppendObject(const core::Value& object, std::string& target, bool keyPosition) {
    switch (object.kind()) {
    case core::Value::Kind::String:
        appendString(*object.asString(), target);
        return;
    case core::Value::Kind::Bool:
    case core::Value::Kind::Integer:
    case core::Value::Kind::Real:
        // JSON has no word for an infinity or a value that is not a number: the service could not read
        // the text back.
        if (object.kind() == core::Value::Kind::Real && !std::isfinite(object.doubleValue())) {
            target += keyPosition ? "\"null\"" : "null";
        } else if (keyPosition) {
            appendString(numberDescription(object), target);
        } else {
            target += numberDescription(object);
        }
        return;
    case core::Value::Kind::Null:
        target += "null";
        return;
    case core::Value::Kind::Dictionary: {
        target += '{';
        bool first = true;
        for (const auto& entry : object.asDictionary()->entries()) {
            if (!first)
                target += ',';
            first = false;
            appendString(entry.key, target);
            target += ':';
            TMJSONAppendObject(entry.value, target, false);
        }
        target += '}';
        return;
    }
    case core::Value::Kind::Array: {
        target += '[';
        bool first = true;
        for (const core::Value& element : *object.asArray()) {
            if (!first)
                target += ',';
            first = false;
            TMJSONAppendObject(element, target, false);
        }
        target += ']';
        return;
    }
    case core::Value::Kind::Date:
        appendString(dateDescription(*object.asDate()), target);
        return;
    case core::Value::Kind::Data:
        appendString(dataDescription(*object.asData()), target);
        return;
    }
}

} // namespace zm
