#pragma once

#include "framework/Source/PixColorMatrixFilter.h"

#include <array>

namespace zm {

// A 4 x 4 colour matrix in the row-vector convention: a colour c becomes c x matrix, that is
// out[k] = sum over i of c[i] x matrix[i][k].
using PixColorMatrix4x4 = std::array<std::array<float, 4>, 4>;

// result = b x a (result[i][j] = sum over k of b[i][k] x a[k][j]); result may be a or b.
void multiplyColorMatrix4x4(const PixColorMatrix4x4& a, const PixColorMatrix4x4& b, PixColorMatrix4x4& result);

// Hue, saturation and brightness as a colour matrix. Each adjustment multiplies its step into the
// matrix, so adjustments add up until reset().
class PixHSBFilter : public PixColorMatrixFilter {
public:
    static std::shared_ptr<PixHSBFilter> create();

    // Back to the identity.
    void reset();
    // Turns every colour about the grey axis by the angle, keeping its luminance (weights 0.3, 0.59,
    // 0.11).
    void rotateHue(float degrees);
    // 1 keeps the colours, 0 makes each its grey 0.3 r + 0.59 g + 0.11 b, above 1 strengthens them.
    void adjustSaturation(float saturation);
    // Multiplies red, green and blue by the factor.
    void adjustBrightness(float brightness);

    const PixColorMatrix4x4& matrix() const { return m_matrix; }

protected:
    PixHSBFilter();

private:
    // Hands the accumulated matrix to the colour-matrix shader, whose rows make the output channels.
    void updateColorMatrix();
    void multiplyIn(const PixColorMatrix4x4& step);

    PixColorMatrix4x4 m_matrix;
};

} // namespace zm
