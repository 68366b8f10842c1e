#include "platform/core/SystemFacts.h"

#include "platform/core/Files.h"

#include <sys/utsname.h>

namespace core {

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

SystemFacts SystemFacts::read(const std::filesystem::path& productName) {
    SystemFacts facts;
    if (utsname names; uname(&names) == 0) {
        facts.machine = names.machine;
        facts.systemVersion = names.release;
        facts.osVersion = names.version;
    }
    const auto product = readFile(productName);
    facts.model = product ? trimmed(*product) : std::string();
    if (facts.model.empty())
        facts.model = "unknown";
    return facts;
}

const SystemFacts& systemFacts() {
    static const SystemFacts facts = SystemFacts::read();
    return facts;
}

} // namespace core
