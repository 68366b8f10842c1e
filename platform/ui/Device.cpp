#include "platform/ui/Device.h"

namespace ui {

namespace {

Device& currentDevice() {
    static Device device;
    return device;
}

} // namespace

core::Size Device::screenSize() const {
    return idiom == Idiom::Tablet ? core::Size{1024, 768} : core::Size{480, 320};
}

const Device& Device::current() {
    return currentDevice();
}

void Device::setCurrent(const Device& device) {
    currentDevice() = device;
}

} // namespace ui
