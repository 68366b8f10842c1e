#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "platform/gfx/Font.h"
#include "platform/ui/InterfaceObject.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace gfx {
class Image;
} // namespace gfx

namespace ui {

// The errors of reading interface files.
inline constexpr std::string_view kInterfaceErrorDomain = "ui.interface";
enum InterfaceErrorCode : long {
    kInterfaceErrorUnreadable = 1,      // no such file, or not a JSON document of the expected shape
    kInterfaceErrorUnknownClass = 2,    // a class no one registered
    kInterfaceErrorBadValue = 3,        // a value of the wrong kind or form
    kInterfaceErrorUnknownProperty = 4, // a property the class does not have
    kInterfaceErrorBadConnection = 5,   // an outlet or action that names nothing, or the wrong kind of thing
};

// An error of the file at `where` ("view.subviews[2].properties.title").
core::Error interfaceError(InterfaceErrorCode code, std::string_view where, std::string_view what);

// What a property setter may ask of the file being loaded: readers for the values that files write,
// and makers for objects that a property holds (toolbar items, cell prototypes).
class PropertyContext {
public:
    virtual ~PropertyContext() = default;

    // "#rrggbb", "#rrggbbaa", "clear", "white" or "black".
    virtual core::Result<core::Color> color(const core::Value& value) const = 0;
    // {"name": "Georgia", "size": 20}, {"system": 17} or {"boldSystem": 17}.
    virtual core::Result<gfx::Font> font(const core::Value& value) const = 0;
    // "name", or {"name": "name", "capInsets": [top, left, bottom, right]}; an image the library does
    // not have is an error.
    virtual core::Result<std::shared_ptr<const gfx::Image>> image(const core::Value& value) const = 0;
    // A new object from its description, made, connected and awoken; for items such as bar buttons.
    virtual core::Result<std::shared_ptr<InterfaceObject>> makeObject(const core::Value& value) = 0;
    // Something that makes a fresh object tree from the description whenever it is called (cell
    // prototypes); it answers nullptr, and logs why, when the description cannot be made.
    virtual std::function<std::shared_ptr<View>()> prototype(const core::Value& value) = 0;
};

// The classes that interface files may name: a factory for each, its base class, and the properties it
// adds to its base's. The platform's own classes are registered from the start; the game registers its
// own (screens, cells, drawn views) before loading any file.
//
// A class's factory is the interface-file way of making it, which may differ from making it in code
// with a frame (defaults that only the frame path sets).
//
// Main thread only, like the views it makes.
class ClassRegistry {
public:
    using Setter = std::function<core::Status(InterfaceObject&, const core::Value&, PropertyContext&)>;

    struct Made {
        std::shared_ptr<InterfaceObject> object;
        std::shared_ptr<View> view;                 // when the object is a view
        std::shared_ptr<ViewController> controller; // when it is a view controller
    };

    ClassRegistry();
    // The registry that loaders use unless given another.
    static ClassRegistry& shared();

    // Registers `name` for objects of type T made by `factory`, with `baseName` (registered before, for
    // a type that T derives from) as its base; an empty base name for a root class. Registering a name
    // again replaces it.
    template <class T, class Base = T>
    void registerClass(std::string name, std::string baseName, std::function<std::shared_ptr<T>()> factory) {
        static_assert(std::is_base_of_v<InterfaceObject, T> && std::is_base_of_v<Base, T>);
        Entry entry;
        entry.base = std::move(baseName);
        entry.type = typeTag<T>();
        entry.baseType = typeTag<Base>();
        entry.factory = [factory = std::move(factory)]() -> Made {
            std::shared_ptr<T> object = factory();
            Made made;
            made.object = object;
            if constexpr (std::is_base_of_v<View, T>)
                made.view = object;
            if constexpr (std::is_base_of_v<ViewController, T>)
                made.controller = object;
            return made;
        };
        add(std::move(name), std::move(entry));
    }

    // Adds the property `property` to the class `name`, registered for type T.
    template <class T>
    void registerProperty(std::string_view name, std::string property,
                          std::function<core::Status(T&, const core::Value&, PropertyContext&)> setter) {
        addProperty(name, typeTag<T>(), std::move(property),
                    [setter = std::move(setter)](InterfaceObject& object, const core::Value& value,
                                                 PropertyContext& context) {
                        return setter(static_cast<T&>(object), value, context);
                    });
    }

    bool contains(std::string_view name) const;
    core::Result<Made> make(std::string_view name) const;
    // The setter of `property` for an object of class `name`, from the class or its nearest base that
    // has it; nullptr when none has.
    const Setter* setter(std::string_view name, std::string_view property) const;

private:
    struct Entry {
        std::string base;
        const void* type = nullptr;
        const void* baseType = nullptr;
        std::function<Made()> factory;
        std::map<std::string, Setter, std::less<>> setters;
    };

    template <class T> static const void* typeTag() {
        static const char tag = 0;
        return &tag;
    }

    void add(std::string name, Entry entry);
    void addProperty(std::string_view name, const void* type, std::string property, Setter setter);

    std::map<std::string, Entry, std::less<>> m_classes;
};

} // namespace ui
