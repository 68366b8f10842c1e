#include "framework/Source/PixPipelineConfiguration.h"

#include "platform/core/Regex.h"

#include <charconv>
#include <cmath>

namespace zm {

namespace {

core::Error refusal(const std::string& reason) {
    return core::Error{std::string(kPixPipelineErrorDomain), 1,
                       std::string(kPixPipelineParsingErrorMessage) + " " + reason, {}};
}

// The leading number of a text, after blanks and a plus sign; 0 when there is none, or when it is not
// a finite float.
float leadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    float number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    (void)end;
    return error == std::errc{} && std::isfinite(number) ? number : 0;
}

const core::Regex& typedTextExpression() {
    static const core::Regex expression =
        core::Regex::make(R"((float|CGPoint|NSString)\((.*?)(?:,\s*(.*?))*\))").value();
    return expression;
}

// A typed text: its type and the values inside its brackets.
core::Result<PixPipelineValue> readTypedText(std::string_view text) {
    const auto match = typedTextExpression().firstMatch(text);
    const std::string_view type = match ? match->group(text, 1) : std::string_view{};
    PixPipelineValue value;
    if (type == "float") {
        value.kind = PixPipelineValue::Kind::Float;
        value.number = leadingNumber(match->group(text, 2));
    } else if (type == "CGPoint") {
        value.kind = PixPipelineValue::Kind::Point;
        value.point = {leadingNumber(match->group(text, 2)), leadingNumber(match->group(text, 3))};
    } else if (type == "NSString") {
        value.kind = PixPipelineValue::Kind::String;
        value.text = std::string(match->group(text, 2));
    } else {
        return refusal("\"" + std::string(text) + "\" is not a float(), CGPoint() or NSString() value.");
    }
    return value;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

core::Result<PixPipelineValue> readPixPipelineValue(const core::Value& value) {
    if (const std::string* text = value.asString())
        return readTypedText(*text);
    const core::Array* array = value.asArray();
    if (!array)
        return refusal("A value is neither a typed text nor an array of them.");
    PixPipelineValue list;
    list.kind = PixPipelineValue::Kind::Array;
    for (const core::Value& element : *array) {
        const std::string* text = element.asString();
        if (!text)
            return refusal("An array holds a value that is not a typed text.");
        auto read = readTypedText(*text);
        if (!read)
            return read.error();
        if (read.value().kind != PixPipelineValue::Kind::String)
            list.elements.push_back(std::move(read.value()));
    }
    return list;
}

core::Result<std::vector<PixPipelineFilterDescription>>
readPixPipelineConfiguration(const core::Value& configuration, const PixFilterRegistry& registry) {
    const core::Value* filters = configuration.find("Filters");
    if (!filters || !filters->asArray())
        return refusal("The configuration has no \"Filters\" array.");

    std::vector<PixPipelineFilterDescription> descriptions;
    for (const core::Value& element : *filters->asArray()) {
        const std::string place = "Filter " + std::to_string(descriptions.size() + 1);
        if (!element.asDictionary())
            return refusal(place + " is not a dictionary.");
        const core::Value* filterName = element.find("FilterName");
        if (!filterName || !filterName->asString())
            return refusal(place + " has no \"FilterName\".");
        const PixFilterRegistry::FilterClass* filterClass = registry.filterClass(*filterName->asString());
        if (!filterClass)
            return refusal("There is no filter named " + inQuotes(*filterName->asString()) + ".");

        PixPipelineFilterDescription description{*filterName->asString(), {}};
        if (const core::Value* attributes = element.find("Attributes")) {
            if (!attributes->asDictionary())
                return refusal("The attributes of " + description.filterName + " are not a dictionary.");
            for (const auto& [selector, value] : attributes->asDictionary()->entries()) {
                const auto method = filterClass->methods.find(selector);
                if (method == filterClass->methods.end())
                    return refusal(description.filterName + " has no method " + inQuotes(selector) + ".");
                const PixFilterRegistry::Argument argument = method->second.argument;
                PixPipelineAttribute attribute{selector, std::nullopt};
                // An action takes nothing, and its value is not read.
                if (argument != PixFilterRegistry::Argument::None) {
                    auto read = readPixPipelineValue(value);
                    if (!read)
                        return read.error();
                    if (!PixFilterRegistry::fits(argument, read.value()))
                        return refusal(selector + " of " + description.filterName + " takes " +
                                       PixFilterRegistry::describe(argument) + ", not " +
                                       inQuotes(value.asString() ? *value.asString() : "an array") + ".");
                    attribute.value = std::move(read.value());
                }
                description.attributes.push_back(std::move(attribute));
            }
        }
        descriptions.push_back(std::move(description));
    }
    return descriptions;
}

} // namespace zm
