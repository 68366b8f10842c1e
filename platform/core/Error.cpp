#include "platform/core/Error.h"

namespace core {

std::string Error::text() const {
    return domain + " " + std::to_string(code) + ": " + description;
}

} // namespace core
