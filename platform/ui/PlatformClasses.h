#pragma once

#include "platform/core/Value.h"
#include "platform/gfx/Text.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Control.h"
#include "platform/ui/EdgeInsets.h"

#include <functional>
#include <string>
#include <string_view>

namespace ui {

class ClassRegistry;

// Registers the platform's own classes and their properties (the registry does so when it is made).
void registerPlatformClasses(ClassRegistry& registry);
// The parts of it, by area.
void registerScrollingClasses(ClassRegistry& registry);
void registerTextClasses(ClassRegistry& registry);
void registerBarClasses(ClassRegistry& registry);

// Building blocks for property setters, for the platform's classes and the game's alike. Each reads
// one form of value and answers an error naming the form it expected.
namespace property {

template <class T> using Setter = std::function<core::Status(T&, const core::Value&, PropertyContext&)>;

core::Error expected(std::string_view form);

template <class T> Setter<T> flag(void (T::*set)(bool)) {
    return [set](T& object, const core::Value& value, PropertyContext&) -> core::Status {
        if (value.kind() != core::Value::Kind::Bool)
            return expected("true or false");
        (object.*set)(value.boolValue());
        return {};
    };
}

template <class T, class N> Setter<T> number(void (T::*set)(N)) {
    return [set](T& object, const core::Value& value, PropertyContext&) -> core::Status {
        if (!value.isNumber() || value.kind() == core::Value::Kind::Bool)
            return expected("a number");
        (object.*set)(static_cast<N>(value.doubleValue()));
        return {};
    };
}

template <class T> Setter<T> text(void (T::*set)(std::string)) {
    return [set](T& object, const core::Value& value, PropertyContext&) -> core::Status {
        if (!value.asString())
            return expected("a text");
        (object.*set)(*value.asString());
        return {};
    };
}

template <class T> Setter<T> color(void (T::*set)(const core::Color&)) {
    return [set](T& object, const core::Value& value, PropertyContext& context) -> core::Status {
        core::Result<core::Color> color = context.color(value);
        if (!color)
            return color.error();
        (object.*set)(*color);
        return {};
    };
}

template <class T> Setter<T> font(void (T::*set)(const gfx::Font&)) {
    return [set](T& object, const core::Value& value, PropertyContext& context) -> core::Status {
        core::Result<gfx::Font> font = context.font(value);
        if (!font)
            return font.error();
        (object.*set)(*font);
        return {};
    };
}

template <class T> Setter<T> image(void (T::*set)(std::shared_ptr<const gfx::Image>)) {
    return [set](T& object, const core::Value& value, PropertyContext& context) -> core::Status {
        core::Result<std::shared_ptr<const gfx::Image>> image = context.image(value);
        if (!image)
            return image.error();
        (object.*set)(*image);
        return {};
    };
}

// A value of one of the named choices.
template <class T, class E>
Setter<T> choice(void (T::*set)(E), std::vector<std::pair<std::string_view, E>> choices) {
    return [set, choices = std::move(choices)](T& object, const core::Value& value,
                                               PropertyContext&) -> core::Status {
        for (const auto& [name, choice] : choices) {
            if (value.asString() && *value.asString() == name) {
                (object.*set)(choice);
                return {};
            }
        }
        std::string names;
        for (const auto& entry : choices)
            names += (names.empty() ? "" : ", ") + std::string(entry.first);
        return expected("one of " + names);
    };
}

// "left", "center" or "right".
template <class T> Setter<T> alignment(void (T::*set)(gfx::TextAlignment)) {
    return choice(set, std::vector<std::pair<std::string_view, gfx::TextAlignment>>{
                           {"left", gfx::TextAlignment::Left},
                           {"center", gfx::TextAlignment::Center},
                           {"right", gfx::TextAlignment::Right}});
}

// [top, left, bottom, right] and [width, height].
core::Result<EdgeInsets> edgeInsets(const core::Value& value);
core::Result<core::Size> size(const core::Value& value);

template <class T> Setter<T> insets(void (T::*set)(const EdgeInsets&)) {
    return [set](T& object, const core::Value& value, PropertyContext&) -> core::Status {
        core::Result<EdgeInsets> edges = edgeInsets(value);
        if (!edges)
            return edges.error();
        (object.*set)(*edges);
        return {};
    };
}

template <class T> Setter<T> size(void (T::*set)(core::Size)) {
    return [set](T& object, const core::Value& value, PropertyContext&) -> core::Status {
        core::Result<core::Size> read = size(value);
        if (!read)
            return read.error();
        (object.*set)(*read);
        return {};
    };
}

// A control state written as "normal", "highlighted", "disabled", "selected" or a combination joined
// by "|" ("highlighted|selected").
core::Result<ControlState> controlState(std::string_view name);

// {"normal": V, "highlighted": V, ...}: `apply` runs for each state's value.
core::Status perState(const core::Value& value,
                      const std::function<core::Status(ControlState, const core::Value&)>& apply);

} // namespace property

} // namespace ui
