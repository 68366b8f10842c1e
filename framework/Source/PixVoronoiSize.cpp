#include "framework/Source/PixVoronoiSize.h"

#include "platform/core/Log.h"

#include <cmath>

namespace zm {

bool voronoiSizeIsValid(core::Size size, const std::string& powerOfTwoMessage) {
    const double across = std::log2(size.width), down = std::log2(size.height);
    if (across != down) {
        core::log(core::LogLevel::Error, "Voronoi point texture must be square");
        return false;
    }
    if (across != std::floor(across)) {
        core::log(core::LogLevel::Error,
                  powerOfTwoMessage + std::to_string(size.width) + ", " + std::to_string(size.height));
        return false;
    }
    return true;
}

} // namespace zm
