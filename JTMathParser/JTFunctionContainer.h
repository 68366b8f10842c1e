#pragma once

#include "JTMathParser/JTEvaluation.h"

#include <set>
#include <string>
#include <string_view>

namespace zm {

// One registered function and every name it is registered under (lower case), the name it
// was registered with among them.
class JTFunctionContainer {
public:
    JTFunctionContainer(JTFunctionBlock function, std::string_view name);

    // Names are compared in lower case: "SIN", "Sin" and "sin" are one name.
    static std::string normalizedAlias(std::string_view alias);

    const JTFunctionBlock& function() const { return m_function; }
    const std::set<std::string, std::less<>>& aliases() const { return m_aliases; }
    void addAlias(std::string_view alias) { m_aliases.insert(normalizedAlias(alias)); }
    void removeAlias(std::string_view alias) { m_aliases.erase(normalizedAlias(alias)); }
    bool containsAlias(std::string_view alias) const { return m_aliases.contains(normalizedAlias(alias)); }

private:
    JTFunctionBlock m_function;
    std::set<std::string, std::less<>> m_aliases;
};

} // namespace zm
