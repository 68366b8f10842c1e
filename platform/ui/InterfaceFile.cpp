#include "platform/ui/InterfaceFile.h"

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Json.h"
#include "platform/core/Log.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/ImageLibrary.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Outlets.h"

#include <optional>
#include <utility>

namespace ui {

namespace {

constexpr std::string_view tabletSuffix = "~ipad";
constexpr std::string_view ownerId = "owner";

std::string member(std::string_view where, std::string_view name) {
    return std::string(where) + (where.empty() ? "" : ".") + std::string(name);
}

std::string element(std::string_view where, size_t index) {
    return std::string(where) + "[" + std::to_string(index) + "]";
}

core::Result<std::vector<float>> numbers(const core::Value& value, size_t count, std::string_view where) {
    const core::Array* array = value.asArray();
    if (!array || array->size() != count)
        return interfaceError(kInterfaceErrorBadValue, where,
                              "expected " + std::to_string(count) + " numbers");
    std::vector<float> result;
    for (const core::Value& entry : *array) {
        if (!entry.isNumber())
            return interfaceError(kInterfaceErrorBadValue, where, "expected numbers");
        result.push_back(entry.floatValue());
    }
    return result;
}

core::Result<AutoresizingMask> autoresizing(const core::Value& value, std::string_view where) {
    static const std::pair<std::string_view, AutoresizingMask> flags[] = {
        {"flexibleLeftMargin", AutoresizingMask::FlexibleLeftMargin},
        {"flexibleWidth", AutoresizingMask::FlexibleWidth},
        {"flexibleRightMargin", AutoresizingMask::FlexibleRightMargin},
        {"flexibleTopMargin", AutoresizingMask::FlexibleTopMargin},
        {"flexibleHeight", AutoresizingMask::FlexibleHeight},
        {"flexibleBottomMargin", AutoresizingMask::FlexibleBottomMargin},
    };
    const core::Array* names = value.asArray();
    if (!names)
        return interfaceError(kInterfaceErrorBadValue, where, "expected a list of flags");
    AutoresizingMask mask = AutoresizingMask::None;
    for (const core::Value& name : *names) {
        const std::string* text = name.asString();
        const auto flag = std::find_if(std::begin(flags), std::end(flags),
                                       [&](const auto& entry) { return text && entry.first == *text; });
        if (flag == std::end(flags))
            return interfaceError(kInterfaceErrorBadValue, where,
                                  "unknown autoresizing flag " + name.stringValue());
        mask = mask | flag->second;
    }
    return mask;
}

// Makes the objects of one scope of a file (the file itself, or one cell made from a prototype), then
// connects and wakes them.
class Builder : public PropertyContext {
public:
    Builder(const ClassRegistry& registry, gfx::ImageLibrary* images, std::shared_ptr<InterfaceObject> owner)
        : m_registry(registry)
        , m_images(images)
        , m_owner(std::move(owner)) {}

    core::Result<ClassRegistry::Made> build(const core::Value& value, const std::string& where);
    // `outlets` (names to ids) are bound by connect(), once every object is made.
    core::Status addOutlets(std::shared_ptr<InterfaceObject> object, const core::Value& outlets,
                            const std::string& where);
    core::Status connect();
    void awake();

    core::Result<core::Color> color(const core::Value& value) const override;
    core::Result<gfx::Font> font(const core::Value& value) const override;
    core::Result<std::shared_ptr<const gfx::Image>> image(const core::Value& value) const override;
    core::Result<std::shared_ptr<InterfaceObject>> makeObject(const core::Value& value) override;
    std::function<std::shared_ptr<View>()> prototype(const core::Value& value) override;

private:
    struct PendingOutlets {
        std::shared_ptr<InterfaceObject> object;
        const core::Value* outlets;
        std::string where;
    };
    struct PendingAction {
        std::shared_ptr<InterfaceObject> source;
        const core::Value* description;
        std::string where;
    };

    // Each member of an object's description.
    core::Status apply(ClassRegistry::Made& made, std::string_view className,
                       const core::Dictionary& description, const std::string& where);
    core::Status setFrame(View& view, const core::Value& value, const std::string& where);
    core::Status setAutoresizing(View& view, const core::Value& value, const std::string& where);
    core::Status addSubviews(View& view, const core::Value& value, const std::string& where);
    core::Status setProperties(InterfaceObject& object, std::string_view className, const core::Value& value,
                               const std::string& where);
    core::Status addActions(const std::shared_ptr<InterfaceObject>& object, const core::Value& value,
                            const std::string& where);
    core::Result<std::shared_ptr<InterfaceObject>> resolve(const core::Value& id,
                                                           const std::string& where) const;
    core::Status connectAction(const PendingAction& pending);

    const ClassRegistry& m_registry;
    gfx::ImageLibrary* m_images;
    std::shared_ptr<InterfaceObject> m_owner;
    std::map<std::string, std::shared_ptr<InterfaceObject>, std::less<>> m_ids;
    std::vector<std::shared_ptr<InterfaceObject>> m_made;
    std::vector<PendingOutlets> m_outlets;
    std::vector<PendingAction> m_actions;
    // Where the current property is, for errors of the readers.
    std::string m_where;
};

core::Result<ClassRegistry::Made> Builder::build(const core::Value& value, const std::string& where) {
    const core::Dictionary* description = value.asDictionary();
    if (!description)
        return interfaceError(kInterfaceErrorBadValue, where, "expected an object");
    const core::Value* classValue = description->find("class");
    const std::string className = classValue ? classValue->stringValue() : "View";
    core::Result<ClassRegistry::Made> made = m_registry.make(className);
    if (!made)
        return interfaceError(kInterfaceErrorUnknownClass, where, made.error().description);
    ClassRegistry::Made object = std::move(made).value();
    if (const core::Value* id = description->find("id")) {
        const std::string* text = id->asString();
        if (!text || text->empty() || *text == ownerId || m_ids.contains(*text))
            return interfaceError(kInterfaceErrorBadValue, member(where, "id"),
                                  "ids are unique non-empty texts");
        m_ids[*text] = object.object;
    }
    m_made.push_back(object.object);
    if (core::Status applied = apply(object, className, *description, where); !applied)
        return applied.error();
    return object;
}

core::Status Builder::apply(ClassRegistry::Made& made, std::string_view className,
                            const core::Dictionary& description, const std::string& where) {
    for (const core::Dictionary::Entry& entry : description.entries()) {
        const std::string here = member(where, entry.key);
        core::Status applied;
        if (entry.key == "class" || entry.key == "id")
            continue;
        if ((entry.key == "frame" || entry.key == "autoresizing" || entry.key == "subviews") && !made.view)
            return interfaceError(kInterfaceErrorBadValue, here, "only views have " + entry.key);
        if (entry.key == "frame")
            applied = setFrame(*made.view, entry.value, here);
        else if (entry.key == "autoresizing")
            applied = setAutoresizing(*made.view, entry.value, here);
        else if (entry.key == "subviews")
            applied = addSubviews(*made.view, entry.value, here);
        else if (entry.key == "properties")
            applied = setProperties(*made.object, className, entry.value, here);
        else if (entry.key == "outlets")
            applied = addOutlets(made.object, entry.value, here);
        else if (entry.key == "actions")
            applied = addActions(made.object, entry.value, here);
        else
            return interfaceError(kInterfaceErrorBadValue, here, "unknown key");
        if (!applied)
            return applied;
    }
    return {};
}

core::Status Builder::setFrame(View& view, const core::Value& value, const std::string& where) {
    const core::Result<std::vector<float>> frame = numbers(value, 4, where);
    if (!frame)
        return frame.error();
    view.setFrame({(*frame)[0], (*frame)[1], (*frame)[2], (*frame)[3]});
    return {};
}

core::Status Builder::setAutoresizing(View& view, const core::Value& value, const std::string& where) {
    const core::Result<AutoresizingMask> mask = autoresizing(value, where);
    if (!mask)
        return mask.error();
    view.setAutoresizingMask(*mask);
    return {};
}

core::Status Builder::addSubviews(View& view, const core::Value& value, const std::string& where) {
    const core::Array* subviews = value.asArray();
    if (!subviews)
        return interfaceError(kInterfaceErrorBadValue, where, "expected a list of objects");
    for (size_t i = 0; i < subviews->size(); ++i) {
        core::Result<ClassRegistry::Made> subview = build((*subviews)[i], element(where, i));
        if (!subview)
            return subview.error();
        if (!subview->view)
            return interfaceError(kInterfaceErrorBadValue, element(where, i), "a subview must be a view");
        view.addSubview(subview->view);
    }
    return {};
}

core::Status Builder::setProperties(InterfaceObject& object, std::string_view className,
                                    const core::Value& value, const std::string& where) {
    const core::Dictionary* properties = value.asDictionary();
    if (!properties)
        return interfaceError(kInterfaceErrorBadValue, where, "expected an object");
    for (const core::Dictionary::Entry& property : properties->entries()) {
        const std::string at = member(where, property.key);
        const ClassRegistry::Setter* setter = m_registry.setter(className, property.key);
        if (!setter)
            return interfaceError(kInterfaceErrorUnknownProperty, at,
                                  std::string(className) + " has no property " + property.key);
        m_where = at;
        if (core::Status set = (*setter)(object, property.value, *this); !set)
            return set.error().domain == kInterfaceErrorDomain
                       ? set.error()
                       : interfaceError(kInterfaceErrorBadValue, at, set.error().description);
    }
    return {};
}

core::Status Builder::addOutlets(std::shared_ptr<InterfaceObject> object, const core::Value& outlets,
                                 const std::string& where) {
    if (!outlets.asDictionary())
        return interfaceError(kInterfaceErrorBadValue, where, "expected an object of names to ids");
    m_outlets.push_back({std::move(object), &outlets, where});
    return {};
}

core::Status Builder::addActions(const std::shared_ptr<InterfaceObject>& object, const core::Value& value,
                                 const std::string& where) {
    const core::Array* actions = value.asArray();
    if (!actions)
        return interfaceError(kInterfaceErrorBadValue, where, "expected a list of actions");
    for (size_t i = 0; i < actions->size(); ++i)
        m_actions.push_back({object, &(*actions)[i], element(where, i)});
    return {};
}

core::Result<std::shared_ptr<InterfaceObject>> Builder::resolve(const core::Value& id,
                                                                const std::string& where) const {
    const std::string* text = id.asString();
    if (text && *text == ownerId && m_owner)
        return m_owner;
    if (text) {
        if (const auto found = m_ids.find(*text); found != m_ids.end())
            return found->second;
    }
    return interfaceError(kInterfaceErrorBadConnection, where, "no object with the id " + id.stringValue());
}

core::Status Builder::connectAction(const PendingAction& pending) {
    const core::Dictionary* description = pending.description->asDictionary();
    const core::Value* name = description ? description->find("action") : nullptr;
    if (!name || !name->asString())
        return interfaceError(kInterfaceErrorBadValue, pending.where, "an action needs an \"action\" name");
    const core::Value* targetId = description->find("target");
    core::Result<std::shared_ptr<InterfaceObject>> target =
        targetId
            ? resolve(*targetId, member(pending.where, "target"))
            : (m_owner ? core::Result<std::shared_ptr<InterfaceObject>>(m_owner)
                       : interfaceError(kInterfaceErrorBadConnection, pending.where, "no owner to target"));
    if (!target)
        return target.error();
    std::function<void()> action = (*target)->actionNamed(*name->asString());
    if (!action)
        return interfaceError(kInterfaceErrorBadConnection, member(pending.where, "action"),
                              "the target has no action " + *name->asString());
    // The target may go before the source (a button outliving its screen): then the action does nothing.
    std::weak_ptr<InterfaceObject> guard = *target;
    const core::Value* event = description->find("event");
    const core::Status connected = pending.source->connectAction(
        event ? event->stringValue() : std::string(), [guard, action = std::move(action)] {
            if (const std::shared_ptr<InterfaceObject> alive = guard.lock())
                action();
        });
    if (!connected)
        return interfaceError(kInterfaceErrorBadConnection, pending.where, connected.error().description);
    return {};
}

core::Status Builder::connect() {
    for (const PendingOutlets& pending : m_outlets) {
        std::vector<Outlets::Connection> connections;
        for (const core::Dictionary::Entry& entry : pending.outlets->asDictionary()->entries()) {
            core::Result<std::shared_ptr<InterfaceObject>> target =
                resolve(entry.value, member(pending.where, entry.key));
            if (!target)
                return target.error();
            connections.push_back({entry.key, std::move(target).value()});
        }
        Outlets outlets(std::move(connections));
        pending.object->connectOutlets(outlets);
        // The first fault is the one reported.
        if (!outlets.mismatched().empty())
            return interfaceError(kInterfaceErrorBadConnection,
                                  member(pending.where, outlets.mismatched().front()),
                                  "the object is not of the outlet's type");
        if (const std::vector<std::string> unbound = outlets.unbound(); !unbound.empty())
            return interfaceError(kInterfaceErrorBadConnection, member(pending.where, unbound.front()),
                                  "no such outlet");
    }
    for (const PendingAction& pending : m_actions) {
        if (core::Status connected = connectAction(pending); !connected)
            return connected;
    }
    return {};
}

void Builder::awake() {
    for (const std::shared_ptr<InterfaceObject>& object : m_made)
        object->awakeFromNib();
}

core::Result<core::Color> Builder::color(const core::Value& value) const {
    const std::string* text = value.asString();
    if (text) {
        if (*text == "clear")
            return core::Color::clear();
        if (*text == "white")
            return core::Color::white();
        if (*text == "black")
            return core::Color::black();
        if (text->size() == 7 || text->size() == 9) {
            if ((*text)[0] == '#' &&
                text->find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos) {
                auto component = [&](size_t index) {
                    return float(std::stoi(text->substr(1 + 2 * index, 2), nullptr, 16));
                };
                const float alpha = text->size() == 9 ? component(3) / 255 : 1;
                return core::Color::rgb255(component(0), component(1), component(2), alpha);
            }
        }
    }
    return interfaceError(kInterfaceErrorBadValue, m_where,
                          "expected a colour (#rrggbb, #rrggbbaa or a name)");
}

core::Result<gfx::Font> Builder::font(const core::Value& value) const {
    auto size = [&](std::string_view key) -> std::optional<float> {
        const core::Value* found = value.find(key);
        return found && found->isNumber() && found->floatValue() > 0 ? std::optional(found->floatValue())
                                                                     : std::nullopt;
    };
    if (const std::optional<float> points = size("system"))
        return gfx::Font::system(*points);
    if (const std::optional<float> points = size("boldSystem"))
        return gfx::Font::boldSystem(*points);
    const core::Value* name = value.find("name");
    const std::optional<float> points = size("size");
    if (name && name->asString() && points) {
        if (std::optional<gfx::Font> font = gfx::Font::named(*name->asString(), *points))
            return *font;
        return interfaceError(kInterfaceErrorBadValue, m_where, "no font named " + *name->asString());
    }
    return interfaceError(kInterfaceErrorBadValue, m_where,
                          "expected a font ({\"name\", \"size\"} or {\"system\"})");
}

core::Result<std::shared_ptr<const gfx::Image>> Builder::image(const core::Value& value) const {
    const core::Value* nameValue = value.asString() ? &value : value.find("name");
    const std::string* name = nameValue ? nameValue->asString() : nullptr;
    if (!name)
        return interfaceError(kInterfaceErrorBadValue, m_where, "expected an image name");
    std::shared_ptr<const gfx::Image> image = m_images ? m_images->named(*name) : nullptr;
    if (!image)
        return interfaceError(kInterfaceErrorBadValue, m_where, "no image named " + *name);
    if (const core::Value* insets = value.find("capInsets")) {
        const core::Result<std::vector<float>> edges = numbers(*insets, 4, member(m_where, "capInsets"));
        if (!edges)
            return edges.error();
        image = image->resizable({(*edges)[0], (*edges)[1], (*edges)[2], (*edges)[3]});
    }
    return image;
}

core::Result<std::shared_ptr<InterfaceObject>> Builder::makeObject(const core::Value& value) {
    const std::string where = m_where;
    core::Result<ClassRegistry::Made> made = build(value, where);
    m_where = where;
    if (!made)
        return made.error();
    return made->object;
}

std::function<std::shared_ptr<View>()> Builder::prototype(const core::Value& value) {
    const ClassRegistry* registry = &m_registry;
    gfx::ImageLibrary* images = m_images;
    std::weak_ptr<InterfaceObject> owner = m_owner;
    return [registry, images, owner, value, where = m_where]() -> std::shared_ptr<View> {
        Builder builder(*registry, images, owner.lock());
        core::Result<ClassRegistry::Made> made = builder.build(value, where);
        core::Status connected = made ? builder.connect() : core::Status(made.error());
        if (!connected || !made->view) {
            core::log(core::LogLevel::Error,
                      "cell prototype " + where + ": " +
                          (connected ? std::string("not a view") : connected.error().text()));
            return nullptr;
        }
        builder.awake();
        return made->view;
    };
}

} // namespace

namespace {

std::optional<InterfaceLoader::Settings>& sharedSettings() {
    static std::optional<InterfaceLoader::Settings> settings;
    return settings;
}

} // namespace

InterfaceLoader::InterfaceLoader(Settings settings)
    : InterfaceLoader(std::move(settings), ClassRegistry::shared()) {}

InterfaceLoader::InterfaceLoader(Settings settings, ClassRegistry& registry)
    : m_settings(std::move(settings))
    , m_registry(registry) {}

InterfaceLoader& InterfaceLoader::shared() {
    static std::optional<InterfaceLoader> loader;
    std::optional<Settings>& settings = sharedSettings();
    if (!settings)
        settings =
            Settings{core::FileLocations::shared().resources / "interface", Device::current().idiom, nullptr};
    if (!loader || loader->m_settings.directory != settings->directory ||
        loader->m_settings.idiom != settings->idiom || loader->m_settings.images != settings->images)
        loader.emplace(*settings);
    return *loader;
}

void InterfaceLoader::setShared(Settings settings) {
    sharedSettings() = std::move(settings);
}

InterfaceLoader::SharedOverride::SharedOverride(Settings settings)
    : m_previous(std::exchange(sharedSettings(), std::move(settings))) {}

InterfaceLoader::SharedOverride::~SharedOverride() {
    sharedSettings() = std::move(m_previous);
}

std::filesystem::path InterfaceLoader::pathFor(std::string_view name) const {
    const std::string base(name);
    if (m_settings.idiom == Idiom::Tablet && !base.ends_with(tabletSuffix)) {
        std::filesystem::path tablet = m_settings.directory / (base + std::string(tabletSuffix) + ".json");
        std::error_code error;
        if (std::filesystem::exists(tablet, error))
            return tablet;
    }
    return m_settings.directory / (base + ".json");
}

core::Result<core::Value> InterfaceLoader::read(std::string_view name) const {
    const std::filesystem::path path = pathFor(name);
    core::Result<std::string> text = core::readFile(path);
    if (!text)
        return interfaceError(kInterfaceErrorUnreadable, path.string(), text.error().description);
    core::Result<core::Value> document = core::parseJson(*text);
    if (!document)
        return interfaceError(kInterfaceErrorUnreadable, path.string(), document.error().description);
    if (!document->asDictionary())
        return interfaceError(kInterfaceErrorUnreadable, path.string(), "expected a JSON object");
    return document;
}

core::Result<std::shared_ptr<ViewController>>
InterfaceLoader::instantiateInitialViewController(std::string_view name) {
    core::Result<core::Value> document = read(name);
    if (!document)
        return document.error();
    const core::Value* initial = document->find("initialViewController");
    const core::Value* className = initial ? initial->find("class") : nullptr;
    if (!className || !className->asString())
        return interfaceError(kInterfaceErrorBadValue, "initialViewController", "expected {\"class\": NAME}");
    core::Result<ClassRegistry::Made> made = m_registry.make(*className->asString());
    if (!made)
        return made.error();
    if (!made->controller)
        return interfaceError(kInterfaceErrorBadValue, "initialViewController",
                              "not a view controller class");
    made->controller->setNibName(std::string(name));
    made->controller->awakeFromNib();
    return made->controller;
}

core::Status InterfaceLoader::loadInto(std::string_view name, ViewController& owner) {
    core::Result<core::Value> document = read(name);
    if (!document)
        return document.error();
    return loadDocumentInto(*document, owner);
}

core::Status InterfaceLoader::loadDocumentInto(const core::Value& document, ViewController& owner) {
    const std::shared_ptr<ViewController> ownerObject = owner.weak_from_this().lock();
    if (!ownerObject)
        return interfaceError(kInterfaceErrorBadConnection, "", "the owner must be held by a shared pointer");
    const core::Dictionary* top = document.asDictionary();
    if (!top)
        return interfaceError(kInterfaceErrorUnreadable, "", "expected a JSON object");
    for (const core::Dictionary::Entry& entry : top->entries()) {
        if (entry.key != "initialViewController" && entry.key != "view" && entry.key != "objects" &&
            entry.key != "outlets")
            return interfaceError(kInterfaceErrorBadValue, entry.key, "unknown key");
    }

    Builder builder(m_registry, m_settings.images, ownerObject);
    const core::Value* viewDescription = top->find("view");
    if (!viewDescription)
        return interfaceError(kInterfaceErrorBadValue, "view", "a file needs a view");
    core::Result<ClassRegistry::Made> view = builder.build(*viewDescription, "view");
    if (!view)
        return view.error();
    if (!view->view)
        return interfaceError(kInterfaceErrorBadValue, "view", "expected a view");
    // Held here until the outlets have taken what they keep.
    std::vector<ClassRegistry::Made> objects;
    if (const core::Value* list = top->find("objects")) {
        const core::Array* array = list->asArray();
        if (!array)
            return interfaceError(kInterfaceErrorBadValue, "objects", "expected a list of objects");
        for (size_t i = 0; i < array->size(); ++i) {
            core::Result<ClassRegistry::Made> object = builder.build((*array)[i], element("objects", i));
            if (!object)
                return object.error();
            objects.push_back(std::move(object).value());
        }
    }
    if (const core::Value* outlets = top->find("outlets")) {
        if (core::Status added = builder.addOutlets(ownerObject, *outlets, "outlets"); !added)
            return added;
    }
    const std::shared_ptr<View> previous = owner.isViewLoaded() ? owner.view() : nullptr;
    owner.setView(view->view);
    if (core::Status connected = builder.connect(); !connected) {
        owner.setView(previous);
        return connected;
    }
    builder.awake();
    return {};
}

} // namespace ui
