#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "platform/ui/Device.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace gfx {
class ImageLibrary;
}

namespace ui {

class ClassRegistry;
class ViewController;

// Interface files describe screens: JSON documents in the interface folder, NAME.json, with
// NAME~ipad.json for the tablet. A document:
//
//   {
//     "initialViewController": {"class": "HomeViewController"},  // a storyboard's screen (optional)
//     "view": OBJECT,                                               // the owner's view
//     "objects": [OBJECT, ...],                                     // made, but put in no tree
//     "outlets": {"collectionView": "carousel", ...}                // the owner's outlets: name -> id
//   }
//
//   OBJECT = {
//     "class": "Button",                 // a class of the registry; "View" when left out
//     "id": "undo",                      // names the object for outlets and action targets
//     "frame": [x, y, width, height],
//     "autoresizing": ["flexibleWidth", "flexibleLeftMargin", ...],
//     "properties": {"tag": 5, "title": {"normal": "Undo"}, ...},   // the class's properties
//     "outlets": {"delegate": "owner", "bigLabel": "big"},         // this object's outlets
//     "actions": [{"event": "touchUpInside", "action": "hitUndo:", "target": "owner"}],
//     "subviews": [OBJECT, ...]
//   }
//
// The id "owner" names the object the file is loaded for. Outlets and actions may name any object of
// the file, before or after them. An action's target (the owner unless named) answers the action by
// its name (InterfaceObject::actionNamed); controls take an "event", bar button items none. A cell
// prototype (a collection view's "prototypes" property, by reuse identifier) is an OBJECT made anew for
// each cell, with ids of its own and "owner" for the file's owner.
//
// Loading makes every object through the class registry, sets frames, autoresizing and properties,
// builds the tree, binds outlets (InterfaceObject::connectOutlets) and actions, and then sends
// awakeFromNib to every object made, in the order they were made. Any fault of the file (an unknown
// class, property or outlet, a value of the wrong form, a connection to nothing) fails the whole load
// with an error saying where; the owner then keeps the view it had.
//
// Main thread only, like the views it makes.
class InterfaceLoader {
public:
    struct Settings {
        std::filesystem::path directory;
        Idiom idiom = Idiom::Tablet;
        // Images named by properties; without a library, naming an image is an error.
        gfx::ImageLibrary* images = nullptr;
    };

    explicit InterfaceLoader(Settings settings);
    InterfaceLoader(Settings settings, ClassRegistry& registry);

    // The loader that view controllers use: the resources' interface folder, the current device's
    // idiom, no images, until replaced.
    static InterfaceLoader& shared();
    static void setShared(Settings settings);
    // Puts `settings` in place of the shared ones while it lives, and the previous ones back after.
    class SharedOverride {
    public:
        explicit SharedOverride(Settings settings);
        ~SharedOverride();
        SharedOverride(const SharedOverride&) = delete;
        SharedOverride& operator=(const SharedOverride&) = delete;

    private:
        std::optional<Settings> m_previous;
    };

    const Settings& settings() const { return m_settings; }

    // The file for `name`: on a tablet NAME~ipad.json when there is one, else NAME.json. A name that
    // already ends in "~ipad" is taken as it is.
    std::filesystem::path pathFor(std::string_view name) const;

    // A storyboard's initial view controller, awoken, with the file as its interface file: its view is
    // loaded from the file when first asked for.
    core::Result<std::shared_ptr<ViewController>> instantiateInitialViewController(std::string_view name);

    // Loads the file `name` for `owner`: the owner's view, outlets and actions.
    core::Status loadInto(std::string_view name, ViewController& owner);
    // The same from a document already read.
    core::Status loadDocumentInto(const core::Value& document, ViewController& owner);

private:
    core::Result<core::Value> read(std::string_view name) const;

    Settings m_settings;
    ClassRegistry& m_registry;
};

} // namespace ui
