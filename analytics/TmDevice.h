#pragma once

#include "platform/net/NetworkFacts.h"

#include <optional>
#include <string>

namespace zm {

// What the device offers the analytics service to identify it. On this system there is no advertising
// framework and no vendor identifier; a MAC address only when a person names an interface (see
// net::kMacInterfaceVariable). Tests lend the process a device of their own.
struct TmDevice {
    std::optional<net::MacAddress> mac;
    // Whether an advertising framework exists at all; without one, tracking is neither allowed nor
    // limited.
    bool hasAdSupportFramework = false;
    std::optional<std::string> advertisingIdentifier;
    bool advertisingTrackingEnabled = false;
    std::optional<std::string> vendorIdentifier;

    // This machine, read at first use.
    static TmDevice current();
};

// For tests: the process is `device` while this lives.
class ScopedTmDevice {
public:
    explicit ScopedTmDevice(TmDevice device);
    ~ScopedTmDevice();
    ScopedTmDevice(const ScopedTmDevice&) = delete;
    ScopedTmDevice& operator=(const ScopedTmDevice&) = delete;

private:
    TmDevice m_previous;
};

} // namespace zm
