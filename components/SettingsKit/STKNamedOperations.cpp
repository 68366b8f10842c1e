#include "components/SettingsKit/STKNamedOperations.h"

#include <algorithm>

namespace zm {

STKNamedOperations& STKNamedOperations::shared() {
    static STKNamedOperations operations;
    return operations;
}

void STKNamedOperations::addInitializer(std::string selector, Initializer initializer) {
    m_initializers[std::move(selector)] = std::move(initializer);
}

void STKNamedOperations::addClassOperation(std::string className, std::string selector, ClassOperation operation) {
    m_classOperations[{std::move(className), std::move(selector)}] = std::move(operation);
}

void STKNamedOperations::removeAll() {
    m_initializers.clear();
    m_classOperations.clear();
}

const STKNamedOperations::Initializer* STKNamedOperations::initializer(std::string_view selector) const {
    const auto found = m_initializers.find(selector);
    return found == m_initializers.end() ? nullptr : &found->second;
}

const STKNamedOperations::ClassOperation* STKNamedOperations::classOperation(std::string_view className,
                                                                             std::string_view selector) const {
    const auto found = m_classOperations.find(std::pair{std::string(className), std::string(selector)});
    return found == m_classOperations.end() ? nullptr : &found->second;
}

bool STKNamedOperations::hasClassOperation(std::string_view selector) const {
    return std::any_of(m_classOperations.begin(), m_classOperations.end(),
                       [selector](const auto& entry) { return entry.first.second == selector; });
}

} // namespace zm
