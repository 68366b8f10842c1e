#pragma once

namespace zm {

// How a target must turn or mirror the texture it receives when it samples it.
enum PixInputRotation : int {
    PixInputRotationNone = 0,
    PixInputRotationRotateLeft = 1,  // 90 degrees counter-clockwise
    PixInputRotationRotateRight = 2, // 90 degrees clockwise
    PixInputRotationFlipVertical = 3,
    PixInputRotationFlipHorizontal = 4,
    PixInputRotationRotateRightFlipVertical = 5,
    PixInputRotationRotateRightFlipHorizontal = 6,
    PixInputRotationRotate180 = 7,
};

// Quarter turns (1, 2, 5 and 6) exchange the width and the height of what is sampled.
constexpr bool PixRotationSwapsWidthAndHeight(PixInputRotation rotation) {
    return ((0x66 >> rotation) & 1) != 0;
}

} // namespace zm
