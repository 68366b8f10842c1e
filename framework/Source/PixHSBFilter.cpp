#include "framework/Source/PixHSBFilter.h"

#include <cmath>
#include <numbers>

namespace zm {

namespace {

// The luminance weights of the hue turn and of the saturation step.
constexpr float kRedWeight = 0.3f;
constexpr float kGreenWeight = 0.59f;
constexpr float kBlueWeight = 0.11f;

constexpr PixColorMatrix4x4 kIdentityMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

} // namespace

void multiplyColorMatrix4x4(const PixColorMatrix4x4& a, const PixColorMatrix4x4& b, PixColorMatrix4x4& result) {
    PixColorMatrix4x4 product{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                product[i][j] += b[i][k] * a[k][j];
    result = product;
}

std::shared_ptr<PixHSBFilter> PixHSBFilter::create() {
    return std::shared_ptr<PixHSBFilter>(new PixHSBFilter);
}

PixHSBFilter::PixHSBFilter() {
    reset();
}

void PixHSBFilter::reset() {
    m_matrix = kIdentityMatrix;
    updateColorMatrix();
}

void PixHSBFilter::updateColorMatrix() {
    // Row k of the shader's matrix is column k of ours.
    const auto column = [this](int k) {
        return GPUVector4{m_matrix[0][k], m_matrix[1][k], m_matrix[2][k], m_matrix[3][k]};
    };
    setColorMatrix({column(0), column(1), column(2), column(3)});
}

void PixHSBFilter::multiplyIn(const PixColorMatrix4x4& step) {
    multiplyColorMatrix4x4(step, m_matrix, m_matrix);
    updateColorMatrix();
}

void PixHSBFilter::adjustSaturation(float saturation) {
    const double s = saturation;
    const auto keep = [s](float weight) { return static_cast<float>(weight * (1.0 - s)); };
    const auto stay = [s](float weight) { return static_cast<float>(s + weight * (1.0 - s)); };
    multiplyIn({{{stay(kRedWeight), keep(kRedWeight), keep(kRedWeight), 0},
                 {keep(kGreenWeight), stay(kGreenWeight), keep(kGreenWeight), 0},
                 {keep(kBlueWeight), keep(kBlueWeight), stay(kBlueWeight), 0},
                 {0, 0, 0, 1}}});
}

void PixHSBFilter::adjustBrightness(float brightness) {
    multiplyIn({{{brightness, 0, 0, 0}, {0, brightness, 0, 0}, {0, 0, brightness, 0}, {0, 0, 0, 1}}});
}

void PixHSBFilter::rotateHue(float degrees) {
    // Turn the grey axis onto z, shear the luminance plane level, turn about z, and undo the rest.
    PixColorMatrix4x4 turn = kIdentityMatrix;
    const auto then = [&turn](const PixColorMatrix4x4& step) { multiplyColorMatrix4x4(step, turn, turn); };
    const float rootHalf = 0.70710677f;
    const float rootTwoThirds = 0.8164966f;
    const float rootThird = 0.57735026f;

    then({{{1, 0, 0, 0}, {0, rootHalf, rootHalf, 0}, {0, -rootHalf, rootHalf, 0}, {0, 0, 0, 1}}});
    then({{{rootTwoThirds, 0, rootThird, 0}, {0, 1, 0, 0}, {-rootThird, 0, rootTwoThirds, 0}, {0, 0, 0, 1}}});

    const float lx = kRedWeight * turn[0][0] + kGreenWeight * turn[1][0] + kBlueWeight * turn[2][0] + turn[3][0];
    const float ly = kRedWeight * turn[0][1] + kGreenWeight * turn[1][1] + kBlueWeight * turn[2][1] + turn[3][1];
    const float lz = kRedWeight * turn[0][2] + kGreenWeight * turn[1][2] + kBlueWeight * turn[2][2] + turn[3][2];
    const float zsx = lx / lz;
    const float zsy = ly / lz;
    then({{{1, 0, zsx, 0}, {0, 1, zsy, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});

    const double angle = static_cast<double>(degrees) * std::numbers::pi / 180.0;
    const float cosine = static_cast<float>(std::cos(angle));
    const float sine = static_cast<float>(std::sin(angle));
    then({{{cosine, sine, 0, 0}, {-sine, cosine, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});

    then({{{1, 0, -zsx, 0}, {0, 1, -zsy, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
    then({{{rootTwoThirds, 0, -rootThird, 0}, {0, 1, 0, 0}, {rootThird, 0, rootTwoThirds, 0}, {0, 0, 0, 1}}});
    then({{{1, 0, 0, 0}, {0, rootHalf, -rootHalf, 0}, {0, rootHalf, rootHalf, 0}, {0, 0, 0, 1}}});

    multiplyIn(turn);
}

} // namespace zm
