#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// How the machine reaches networks, as the platform's reachability reports it: a local network, a
// mobile-broadband modem, or nothing.
enum class ConnectionType { None, Wifi, Wwan };

struct NetworkInterface {
    std::string name;
    bool up = false;
    bool loopback = false;
};

// The machine's interfaces (getifaddrs), each once; empty when they cannot be listed.
std::vector<NetworkInterface> networkInterfaces();

// Wifi when an interface other than loopback and modems is up, else Wwan when a modem ("wwan...")
// is up, else None.
ConnectionType connectionType(const std::vector<NetworkInterface>& interfaces);
ConnectionType connectionType();

using MacAddress = std::array<uint8_t, 6>;

// The link-layer address of the interface as /sys/class/net (or `sysClassNet`) gives it; nothing when
// the interface is missing or its address is not six bytes.
std::optional<MacAddress> macAddress(std::string_view interface,
                                     const std::filesystem::path& sysClassNet = "/sys/class/net");

// The variable that names the interface whose address may identify this machine. Unset, no address
// is ever read: identifying the machine is a person's choice.
inline constexpr const char* kMacInterfaceVariable = "ZEMBRIX_MAC_INTERFACE";

using Environment = std::function<const char*(const char* name)>;
// The address of the interface that kMacInterfaceVariable names.
std::optional<MacAddress> configuredMacAddress(const Environment& environment,
                                               const std::filesystem::path& sysClassNet = "/sys/class/net");
std::optional<MacAddress> configuredMacAddress();

} // namespace net
