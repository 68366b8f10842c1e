#pragma once

#include "platform/core/Geometry.h"

#include <string>

namespace zm {

// Whether a Voronoi size is a square power of two; logs "Voronoi point texture must be square", or the
// power-of-two message given followed by the size, when it is not.
bool voronoiSizeIsValid(core::Size size, const std::string& powerOfTwoMessage);

} // namespace zm
