#pragma once

#include "platform/ui/InterfaceObject.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The outlets an interface file connects from one object: names and the objects they name. The object
// binds each to a field of its own in connectOutlets; strong outlets own their object, weak ones do
// not (an object that only a weak outlet names is gone once the file is loaded). An outlet whose object
// is not of the field's type, and one that the object does not bind, are errors of the file.
class Outlets {
public:
    struct Connection {
        std::string name;
        std::shared_ptr<InterfaceObject> target;
    };

    explicit Outlets(std::vector<Connection> connections)
        : m_connections(std::move(connections))
        , m_bound(m_connections.size(), false) {}

    template <class T> void strong(std::string_view name, std::shared_ptr<T>& field) {
        if (std::shared_ptr<InterfaceObject> target = take(name)) {
            if (auto typed = std::dynamic_pointer_cast<T>(target))
                field = std::move(typed);
            else
                m_mismatched.emplace_back(name);
        }
    }

    template <class T> void weak(std::string_view name, std::weak_ptr<T>& field) {
        std::shared_ptr<T> strongField;
        strong(name, strongField);
        if (strongField)
            field = strongField;
    }

    // The outlets that were not bound, and those bound to a field of another type.
    std::vector<std::string> unbound() const;
    const std::vector<std::string>& mismatched() const { return m_mismatched; }

private:
    std::shared_ptr<InterfaceObject> take(std::string_view name);

    std::vector<Connection> m_connections;
    std::vector<bool> m_bound;
    std::vector<std::string> m_mismatched;
};

} // namespace ui
