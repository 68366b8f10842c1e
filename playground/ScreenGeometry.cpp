#include "playground/ScreenGeometry.h"

#include "platform/ui/Device.h"

#include <cmath>

namespace zm {

float distanceBetweenPoints(core::Point a, core::Point b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

core::Size currentScreenSize() {
    return ui::Device::current().screenSize();
}

} // namespace zm
