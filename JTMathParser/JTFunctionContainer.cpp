#include "JTMathParser/JTFunctionContainer.h"

#include "JTMathParser/JTText.h"

namespace zm {

JTFunctionContainer::JTFunctionContainer(JTFunctionBlock function, std::string_view name)
    : m_function(std::move(function)) {
    addAlias(name);
}

std::string JTFunctionContainer::normalizedAlias(std::string_view alias) {
    return lowercased(alias);
}

} // namespace zm
