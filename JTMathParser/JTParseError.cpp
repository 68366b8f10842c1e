#include "JTMathParser/JTParseError.h"

namespace zm {

core::Error makeParseError(JTErrorCode code, std::string description) {
    return core::Error{std::string(JTParseErrorDomain), code, std::move(description), {}};
}

} // namespace zm
