#pragma once

#include "framework/Source/PixFilterNode.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zm {

// A value of a pipeline configuration: a number, a point, a text, or a list of numbers and points.
struct PixPipelineValue {
    enum class Kind { Float, Point, String, Array };

    Kind kind = Kind::Float;
    float number = 0;
    core::Point point;
    std::string text;
    std::vector<PixPipelineValue> elements; // of an array: numbers and points

    friend bool operator==(const PixPipelineValue&, const PixPipelineValue&) = default;
};

// The filters a pipeline configuration may name, by class name, each with the methods that may be
// called on it by name: setters of one value ("setBlurSize:") and actions of none ("reset").
//
// Made once and read-only afterwards, so it may be read from any thread; making a filter needs the
// image framework's context (see PixContext), reading the catalogue does not.
class PixFilterRegistry {
public:
    // What a method takes.
    enum class Argument { None, Float, Point, String, FloatArray, PointArray };

    struct Method {
        Argument argument = Argument::None;
        // Calls the method on a filter of its class with a value of its kind (none for an action).
        std::function<void(PixFilterNode&, const PixPipelineValue*)> call;
    };

    struct FilterClass {
        std::function<std::shared_ptr<PixFilterNode>()> make;
        std::map<std::string, Method, std::less<>> methods;
    };

    // Every filter of the framework.
    static const PixFilterRegistry& shared();

    const FilterClass* filterClass(std::string_view name) const;
    // The registered class names, in alphabetical order.
    std::vector<std::string> filterNames() const;

    // Adds a class made by T::create(); its methods are added through the registration returned.
    template <class T> class Registration;
    template <class T> Registration<T> add(const std::string& name);

    // Whether the value fits what a method takes: an array fits a list of numbers when it holds only
    // numbers, a list of points when it holds only points.
    static bool fits(Argument argument, const PixPipelineValue& value);
    static const char* describe(Argument argument);

private:
    std::map<std::string, FilterClass, std::less<>> m_classes;
};

namespace pixregistry {

template <class Value> constexpr PixFilterRegistry::Argument argumentOf() {
    using Plain = std::remove_cvref_t<Value>;
    if constexpr (std::is_same_v<Plain, core::Point>)
        return PixFilterRegistry::Argument::Point;
    else if constexpr (std::is_same_v<Plain, std::string> || std::is_same_v<Plain, std::filesystem::path>)
        return PixFilterRegistry::Argument::String;
    else if constexpr (std::is_same_v<Plain, std::vector<float>>)
        return PixFilterRegistry::Argument::FloatArray;
    else if constexpr (std::is_same_v<Plain, std::vector<core::Point>>)
        return PixFilterRegistry::Argument::PointArray;
    else {
        static_assert(std::is_arithmetic_v<Plain>, "a pipeline value is a number, a point, a text or a list");
        return PixFilterRegistry::Argument::Float;
    }
}

// The value as the method's parameter type takes it; fits() has been asked first.
template <class Value> std::remove_cvref_t<Value> convert(const PixPipelineValue& value) {
    using Plain = std::remove_cvref_t<Value>;
    if constexpr (std::is_same_v<Plain, core::Point>) {
        return value.point;
    } else if constexpr (std::is_same_v<Plain, std::string> || std::is_same_v<Plain, std::filesystem::path>) {
        return Plain(value.text);
    } else if constexpr (std::is_same_v<Plain, std::vector<float>>) {
        Plain numbers;
        for (const PixPipelineValue& element : value.elements)
            numbers.push_back(element.number);
        return numbers;
    } else if constexpr (std::is_same_v<Plain, std::vector<core::Point>>) {
        Plain points;
        for (const PixPipelineValue& element : value.elements)
            points.push_back(element.point);
        return points;
    } else if constexpr (std::is_same_v<Plain, bool>) {
        return value.number != 0;
    } else if constexpr (std::is_integral_v<Plain>) {
        // A count or a radius from a configuration may be negative, fractional or huge; a cast of a
        // number its type cannot hold is undefined, so it takes the nearest whole number the type holds.
        static_assert(sizeof(Plain) <= 4, "whole numbers of up to 32 bits, which a double holds exactly");
        const double number = value.number;
        if (std::isnan(number))
            return 0;
        if (number <= static_cast<double>(std::numeric_limits<Plain>::lowest()))
            return std::numeric_limits<Plain>::lowest();
        if (number >= static_cast<double>(std::numeric_limits<Plain>::max()))
            return std::numeric_limits<Plain>::max();
        return static_cast<Plain>(number);
    } else {
        return static_cast<Plain>(value.number);
    }
}

} // namespace pixregistry

template <class T> class PixFilterRegistry::Registration {
public:
    explicit Registration(FilterClass& filterClass)
        : m_filterClass(filterClass) {}

    // A setter of one value, named with its colon ("setBlurSize:"); it may be declared on a base of T.
    template <class Base, class Value>
    requires std::is_base_of_v<Base, T> Registration& set(const std::string& selector, void (Base::*method)(Value)) {
        m_filterClass.methods[selector] = {pixregistry::argumentOf<Value>(),
                                           [method](PixFilterNode& filter, const PixPipelineValue* value) {
                                               (static_cast<T&>(filter).*method)(
                                                   pixregistry::convert<Value>(*value));
                                           }};
        return *this;
    }

    // An action of no value, named without a colon ("reset").
    template <class Base>
    requires std::is_base_of_v<Base, T> Registration& action(const std::string& selector, void (Base::*method)()) {
        m_filterClass.methods[selector] = {Argument::None, [method](PixFilterNode& filter, const PixPipelineValue*) {
                                               (static_cast<T&>(filter).*method)();
                                           }};
        return *this;
    }

private:
    FilterClass& m_filterClass;
};

template <class T> PixFilterRegistry::Registration<T> PixFilterRegistry::add(const std::string& name) {
    FilterClass& filterClass = m_classes[name];
    filterClass.make = [] { return std::static_pointer_cast<PixFilterNode>(T::create()); };
    return Registration<T>(filterClass);
}

} // namespace zm
