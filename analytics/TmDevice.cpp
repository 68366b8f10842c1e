#include "analytics/TmDevice.h"

#include <mutex>

namespace zm {

namespace {

struct SharedDevice {
    std::mutex lock;
    std::optional<TmDevice> device; // guarded by lock
};

SharedDevice& sharedDevice() {
    static SharedDevice shared;
    return shared;
}

void setDevice(TmDevice device) {
    SharedDevice& shared = sharedDevice();
    std::lock_guard guard(shared.lock);
    shared.device = std::move(device);
}

} // namespace

TmDevice TmDevice::current() {
    SharedDevice& shared = sharedDevice();
    std::lock_guard guard(shared.lock);
    if (!shared.device) {
        shared.device.emplace();
        shared.device->mac = net::configuredMacAddress();
    }
    return *shared.device;
}

ScopedTmDevice::ScopedTmDevice(TmDevice device)
    : m_previous(TmDevice::current()) {
    setDevice(std::move(device));
}

ScopedTmDevice::~ScopedTmDevice() {
    setDevice(std::move(m_previous));
}

} // namespace zm
