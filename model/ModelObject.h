#pragma once

#include <memory>

namespace zm {

// Everything a view can stand for: expression nodes and their operators. Model objects are always
// held by shared pointers and are told apart by identity only; content is compared by the
// expressions' own equality operations.
class ModelObject : public std::enable_shared_from_this<ModelObject> {
public:
    virtual ~ModelObject() = default;
    ModelObject(const ModelObject&) = delete;
    ModelObject& operator=(const ModelObject&) = delete;

protected:
    ModelObject() = default;
};

using ModelObjectPtr = std::shared_ptr<ModelObject>;

} // namespace zm
