#include "shell/info/InfoAddresses.h"

#include <cstdlib>
#include <optional>

namespace zm {

namespace {

std::optional<InfoAddresses>& sharedAddresses() {
    static std::optional<InfoAddresses> addresses;
    return addresses;
}

} // namespace

InfoAddresses InfoAddresses::fromEnvironment(const Environment& environment) {
    InfoAddresses addresses;
    auto read = [&](const char* name, std::string& field) {
        const char* value = environment(name);
        if (value && *value)
            field = value;
    };
    read("ZEMBRIX_FEEDBACK_EMAIL", addresses.feedbackEmail);
    read("ZEMBRIX_WEBSITE", addresses.website);
    read("ZEMBRIX_STORE_ID", addresses.storeIdentifier);
    while (addresses.website.size() > 1 && addresses.website.back() == '/')
        addresses.website.pop_back();
    return addresses;
}

const InfoAddresses& InfoAddresses::shared() {
    std::optional<InfoAddresses>& addresses = sharedAddresses();
    if (!addresses)
        addresses = fromEnvironment([](const char* name) { return std::getenv(name); });
    return *addresses;
}

void InfoAddresses::setShared(InfoAddresses addresses) {
    sharedAddresses() = std::move(addresses);
}

} // namespace zm
