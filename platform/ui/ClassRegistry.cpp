#include "platform/ui/ClassRegistry.h"

#include "platform/core/Log.h"
#include "platform/ui/PlatformClasses.h"

#include <cassert>

namespace ui {

core::Error interfaceError(InterfaceErrorCode code, std::string_view where, std::string_view what) {
    std::string description(where);
    description += where.empty() ? "" : ": ";
    description += what;
    return core::Error{std::string(kInterfaceErrorDomain), code, std::move(description), {}};
}

ClassRegistry::ClassRegistry() {
    registerPlatformClasses(*this);
}

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::add(std::string name, Entry entry) {
    if (!entry.base.empty()) {
        const auto base = m_classes.find(entry.base);
        const bool fits = base != m_classes.end() && base->second.type == entry.baseType;
        assert(fits && "a class's base must be registered first, for the type it derives from");
        if (!fits) {
            core::log(core::LogLevel::Error,
                      "interface class " + name + ": base " + entry.base + " does not fit");
            return;
        }
    }
    if (const auto old = m_classes.find(name); old != m_classes.end())
        entry.setters.merge(old->second.setters);
    m_classes[std::move(name)] = std::move(entry);
}

void ClassRegistry::addProperty(std::string_view name, const void* type, std::string property,
                                Setter setter) {
    const auto found = m_classes.find(name);
    const bool fits = found != m_classes.end() && found->second.type == type;
    assert(fits && "a property belongs to a registered class of its type");
    if (!fits)
        return;
    found->second.setters[std::move(property)] = std::move(setter);
}

bool ClassRegistry::contains(std::string_view name) const {
    return m_classes.find(name) != m_classes.end();
}

core::Result<ClassRegistry::Made> ClassRegistry::make(std::string_view name) const {
    const auto found = m_classes.find(name);
    if (found == m_classes.end() || !found->second.factory)
        return interfaceError(kInterfaceErrorUnknownClass, "", "unknown class " + std::string(name));
    Made made = found->second.factory();
    if (!made.object)
        return interfaceError(kInterfaceErrorUnknownClass, "",
                              "class " + std::string(name) + " made nothing");
    return made;
}

const ClassRegistry::Setter* ClassRegistry::setter(std::string_view name, std::string_view property) const {
    for (auto entry = m_classes.find(name); entry != m_classes.end();
         entry = m_classes.find(entry->second.base)) {
        if (const auto found = entry->second.setters.find(property); found != entry->second.setters.end())
            return &found->second;
        if (entry->second.base.empty())
            break;
    }
    return nullptr;
}

} // namespace ui
