#pragma once

#include "platform/core/Result.h"

#include <functional>
#include <string_view>

namespace ui {

class Outlets;

// An object that interface files can make and connect: views, view controllers, bar button items. An
// object of a file gets its outlets bound and is then told awakeFromNib, once every object of the file
// is made and connected (see InterfaceFile).
class InterfaceObject {
public:
    virtual ~InterfaceObject() = default;

    // Binds the fields of the outlets that a file connects from this object (see Outlets). A subclass
    // binds its own and then calls its base's.
    virtual void connectOutlets(Outlets& outlets);
    // The action named `name` ("hitInfo:") for a control or item of a file that targets this object;
    // nothing when there is no such action. A subclass answers its own and asks its base for the rest.
    virtual std::function<void()> actionNamed(std::string_view name);
    // Makes this object run `action` on `event` ("touchUpInside"; empty for objects with one kind of
    // action, such as bar button items). Objects that send no actions refuse.
    virtual core::Status connectAction(std::string_view event, std::function<void()> action);
    virtual void awakeFromNib();
};

} // namespace ui
