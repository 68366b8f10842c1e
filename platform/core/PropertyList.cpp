#include "platform/core/PropertyList.h"

#include "platform/core/NumberText.h"

#include <charconv>
#include <cmath>
#include <pugixml.hpp>
#include <sstream>

namespace core {

namespace {

constexpr size_t kMaximumDepth = 512;

Error plistError(std::string description) {
    return Error{std::string(kPropertyListErrorDomain), 1, std::move(description), {}};
}

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

Result<Value> readInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty())
        return Value(value);
    // An unsigned value above the signed range is kept as a real rather than refused.
    uint64_t large = 0;
    const auto [largeEnd, largeError] = std::from_chars(text.data(), text.data() + text.size(), large);
    if (largeError == std::errc() && largeEnd == text.data() + text.size() && !text.empty())
        return Value(static_cast<double>(large));
    return plistError("<integer> holds \"" + std::string(text) + "\", which is no integer");
}

Result<Value> readReal(std::string_view text) {
    text = trimmed(text);
    if (text == "nan")
        return Value(std::nan(""));
    if (text == "inf" || text == "+inf" || text == "infinity" || text == "+infinity")
        return Value(HUGE_VAL);
    if (text == "-inf" || text == "-infinity")
        return Value(-HUGE_VAL);
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    double value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
    if (digits.empty() || end != digits.data() + digits.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range))
        return plistError("<real> holds \"" + std::string(text) + "\", which is no number");
    if (error == std::errc::result_out_of_range)
        value = doubleValue(digits);
    return Value(value);
}

Result<Value> readNode(const pugi::xml_node& node, size_t depth);

Result<Value> readDictionary(const pugi::xml_node& node, size_t depth) {
    Dictionary dictionary;
    for (pugi::xml_node key = node.first_child(); key; key = key.next_sibling()) {
        if (key.type() != pugi::node_element)
            continue;
        if (std::string_view(key.name()) != "key")
            return plistError(std::string("<dict> holds <") + key.name() + "> where a <key> belongs");
        pugi::xml_node value = key.next_sibling();
        while (value && value.type() != pugi::node_element)
            value = value.next_sibling();
        if (!value)
            return plistError(std::string("the key \"") + key.child_value() + "\" has no value");
        Result<Value> member = readNode(value, depth + 1);
        if (!member)
            return member;
        dictionary.set(key.child_value(), std::move(member).value());
        key = value;
    }
    return Value(std::move(dictionary));
}

Result<Value> readNode(const pugi::xml_node& node, size_t depth) {
    if (depth > kMaximumDepth)
        return plistError("the property list nests deeper than " + std::to_string(kMaximumDepth) + " levels");
    const std::string_view name = node.name();
    if (name == "dict")
        return readDictionary(node, depth);
    if (name == "array") {
        Array array;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            Result<Value> element = readNode(child, depth + 1);
            if (!element)
                return element;
            array.push_back(std::move(element).value());
        }
        return Value(std::move(array));
    }
    if (name == "string")
        return Value(node.child_value());
    if (name == "integer")
        return readInteger(node.child_value());
    if (name == "real")
        return readReal(node.child_value());
    if (name == "true")
        return Value(true);
    if (name == "false")
        return Value(false);
    if (name == "date") {
        if (const auto date = Date::fromIso8601(trimmed(node.child_value())))
            return Value(*date);
        return plistError(std::string("<date> holds \"") + node.child_value() +
                          "\", which is no ISO 8601 date");
    }
    if (name == "data") {
        if (auto bytes = base64Decode(node.child_value()))
            return Value(std::move(*bytes));
        return plistError("<data> holds text that is not base64");
    }
    return plistError("<" + std::string(name) + "> is not a property-list element");
}

Status writeNode(const Value& value, pugi::xml_node parent, size_t depth) {
    if (depth > kMaximumDepth)
        return plistError("the value nests deeper than " + std::to_string(kMaximumDepth) + " levels");
    switch (value.kind()) {
    case Value::Kind::Null:
        return plistError("a null value has no property-list form");
    case Value::Kind::Bool:
        parent.append_child(value.boolValue() ? "true" : "false");
        return {};
    case Value::Kind::Integer:
        parent.append_child("integer").text().set(std::to_string(value.integerValue()).c_str());
        return {};
    case Value::Kind::Real:
        parent.append_child("real").text().set(numberText(value.doubleValue()).c_str());
        return {};
    case Value::Kind::String:
        parent.append_child("string").text().set(value.asString()->data(), value.asString()->size());
        return {};
    case Value::Kind::Data:
        parent.append_child("data").text().set(base64Encode(*value.asData()).c_str());
        return {};
    case Value::Kind::Date:
        parent.append_child("date").text().set(value.asDate()->iso8601().c_str());
        return {};
    case Value::Kind::Array: {
        pugi::xml_node array = parent.append_child("array");
        for (const Value& element : *value.asArray()) {
            if (Status status = writeNode(element, array, depth + 1); !status)
                return status;
        }
        return {};
    }
    case Value::Kind::Dictionary: {
        pugi::xml_node dictionary = parent.append_child("dict");
        for (const Dictionary::Entry& entry : value.asDictionary()->entries()) {
            dictionary.append_child("key").text().set(entry.key.c_str());
            if (Status status = writeNode(entry.value, dictionary, depth + 1); !status)
                return status;
        }
        return {};
    }
    }
    return {};
}

} // namespace

Result<Value> parsePropertyList(std::string_view xml) {
    pugi::xml_document document;
    // Whitespace-only text is content: the string " " must read back as " ".
    const pugi::xml_parse_result parsed = document.load_buffer(
        xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
    if (!parsed)
        return plistError(std::string("the property list is not well-formed XML (") + parsed.description() +
                          " at byte " + std::to_string(parsed.offset) + ")");
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "plist")
        return plistError(std::string("the document's root is <") + root.name() + ">, not <plist>");
    pugi::xml_node top = root.first_child();
    while (top && top.type() != pugi::node_element)
        top = top.next_sibling();
    if (!top)
        return plistError("the property list is empty");
    return readNode(top, 0);
}

Result<std::string> toPropertyList(const Value& value) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("plist");
    root.append_attribute("version") = "1.0";
    if (Status status = writeNode(value, root, 0); !status)
        return status.error();
    std::ostringstream out;
    document.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    // A reader turns a carriage return written as it is into a line feed, as XML asks; a character
    // reference keeps it. The writer puts carriage returns nowhere but in keys and strings.
    std::string text = out.str();
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            kept += "&#13;";
        else
            kept += c;
    }
    return kept;
}

} // namespace core
