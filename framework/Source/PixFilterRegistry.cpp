#include "framework/Source/PixFilterRegistry.h"

#include <algorithm>

namespace zm {

const PixFilterRegistry::FilterClass* PixFilterRegistry::filterClass(std::string_view name) const {
    const auto found = m_classes.find(name);
    return found == m_classes.end() ? nullptr : &found->second;
}

std::vector<std::string> PixFilterRegistry::filterNames() const {
    std::vector<std::string> names;
    for (const auto& [name, filterClass] : m_classes)
        names.push_back(name);
    return names;
}

bool PixFilterRegistry::fits(Argument argument, const PixPipelineValue& value) {
    const auto all = [&value](PixPipelineValue::Kind kind) {
        return std::all_of(value.elements.begin(), value.elements.end(),
                           [kind](const PixPipelineValue& element) { return element.kind == kind; });
    };
    switch (argument) {
    case Argument::None:
        return true;
    case Argument::Float:
        return value.kind == PixPipelineValue::Kind::Float;
    case Argument::Point:
        return value.kind == PixPipelineValue::Kind::Point;
    case Argument::String:
        return value.kind == PixPipelineValue::Kind::String;
    case Argument::FloatArray:
        return value.kind == PixPipelineValue::Kind::Array && all(PixPipelineValue::Kind::Float);
    case Argument::PointArray:
        return value.kind == PixPipelineValue::Kind::Array && all(PixPipelineValue::Kind::Point);
    }
    return false;
}

const char* PixFilterRegistry::describe(Argument argument) {
    switch (argument) {
    case Argument::None:
        return "no value";
    case Argument::Float:
        return "float()";
    case Argument::Point:
        return "CGPoint()";
    case Argument::String:
        return "NSString()";
    case Argument::FloatArray:
        return "an array of float()";
    case Argument::PointArray:
        return "an array of CGPoint()";
    }
    return "";
}

} // namespace zm
