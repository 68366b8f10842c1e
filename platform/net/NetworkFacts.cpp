#include "platform/net/NetworkFacts.h"

#include "platform/core/Files.h"

#include <algorithm>
#include <cstdlib>

#include <ifaddrs.h>
#include <net/if.h>

namespace net {

namespace {

std::optional<uint8_t> hexPair(std::string_view text) {
    uint8_t value = 0;
    for (const char digit : text) {
        value = static_cast<uint8_t>(value << 4);
        if (digit >= '0' && digit <= '9')
            value |= static_cast<uint8_t>(digit - '0');
        else if (digit >= 'a' && digit <= 'f')
            value |= static_cast<uint8_t>(digit - 'a' + 10);
        else if (digit >= 'A' && digit <= 'F')
            value |= static_cast<uint8_t>(digit - 'A' + 10);
        else
            return std::nullopt;
    }
    return value;
}

// "aa:bb:cc:dd:ee:ff" with an optional line end.
std::optional<MacAddress> parseMac(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.size() != 17)
        return std::nullopt;
    MacAddress address;
    for (size_t i = 0; i < address.size(); ++i) {
        if (i > 0 && text[i * 3 - 1] != ':')
            return std::nullopt;
        const auto byte = hexPair(text.substr(i * 3, 2));
        if (!byte)
            return std::nullopt;
        address[i] = *byte;
    }
    return address;
}

} // namespace

std::vector<NetworkInterface> networkInterfaces() {
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return interfaces;
    // One entry per address family of each interface.
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name)
            continue;
        const std::string_view name = entry->ifa_name;
        const bool known = std::any_of(interfaces.begin(), interfaces.end(),
                                       [&](const NetworkInterface& interface) { return interface.name == name; });
        if (!known)
            interfaces.push_back({std::string(name), (entry->ifa_flags & IFF_UP) != 0, (entry->ifa_flags & IFF_LOOPBACK) != 0});
    }
    freeifaddrs(list);
    return interfaces;
}

ConnectionType connectionType(const std::vector<NetworkInterface>& interfaces) {
    ConnectionType type = ConnectionType::None;
    for (const NetworkInterface& interface : interfaces) {
        if (!interface.up || interface.loopback)
            continue;
        if (!interface.name.starts_with("wwan"))
            return ConnectionType::Wifi;
        type = ConnectionType::Wwan;
    }
    return type;
}

ConnectionType connectionType() {
    return connectionType(networkInterfaces());
}

std::optional<MacAddress> macAddress(std::string_view interface, const std::filesystem::path& sysClassNet) {
    // The name becomes one component of a path: nothing that could lead elsewhere.
    if (interface.empty() || interface == "." || interface == ".." || interface.find('/') != std::string_view::npos)
        return std::nullopt;
    const auto text = core::readFile(sysClassNet / interface / "address");
    if (!text)
        return std::nullopt;
    return parseMac(*text);
}

std::optional<MacAddress> configuredMacAddress(const Environment& environment, const std::filesystem::path& sysClassNet) {
    const char* interface = environment ? environment(kMacInterfaceVariable) : nullptr;
    if (!interface || !*interface)
        return std::nullopt;
    return macAddress(interface, sysClassNet);
}

std::optional<MacAddress> configuredMacAddress() {
    return configuredMacAddress(&std::getenv);
}

} // namespace net
