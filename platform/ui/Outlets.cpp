#include "platform/ui/Outlets.h"

namespace ui {

void InterfaceObject::connectOutlets(Outlets&) {}

std::function<void()> InterfaceObject::actionNamed(std::string_view) {
    return {};
}

core::Status InterfaceObject::connectAction(std::string_view, std::function<void()>) {
    return core::Error{"ui.interface", 5, "the object sends no actions", {}};
}

void InterfaceObject::awakeFromNib() {}

std::shared_ptr<InterfaceObject> Outlets::take(std::string_view name) {
    for (size_t i = 0; i < m_connections.size(); ++i) {
        if (m_connections[i].name == name) {
            m_bound[i] = true;
            return m_connections[i].target;
        }
    }
    return nullptr;
}

std::vector<std::string> Outlets::unbound() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < m_connections.size(); ++i) {
        if (!m_bound[i])
            names.push_back(m_connections[i].name);
    }
    return names;
}

} // namespace ui
