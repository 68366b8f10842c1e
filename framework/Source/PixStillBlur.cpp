#include "framework/Source/PixStillBlur.h"

#include "framework/Source/PixBlurRoad.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zm {

namespace {

// The blur's nine weights, as the shaders hold them.
constexpr std::array<float, 9> kWeights = {0.05f, 0.09f, 0.12f, 0.15f, 0.18f, 0.15f, 0.12f, 0.09f, 0.05f};

// What a texture read of a stored byte gives.
constexpr float kByteToFloat = static_cast<float>(1.0 / 255.0);

// Samples more than this many pixels apart reach past any picture a screen makes.
constexpr float kLargestSpacing = 1 << 14;

bool samplesWholePixels(float blurSize) {
    return std::isfinite(blurSize) && blurSize == std::floor(blurSize) && blurSize >= 0 &&
           blurSize <= kLargestSpacing;
}

// A colour written to a byte: clamped, scaled and rounded to the nearest, a half to even. Adding and
// taking away 1.5 x 2^23 rounds as the processor does, without a call, so the rows' loops vectorise.
std::uint8_t storedByte(float value) {
    constexpr float kRounder = 12582912.0f;
    const float scaled = std::clamp(value, 0.0f, 1.0f) * 255.0f;
    return static_cast<std::uint8_t>(static_cast<int>((scaled + kRounder) - kRounder));
}

// `sums[i]` gets the nine taps of byte i, the samples of tap k at `samples[k] + i`.
void sumTaps(const std::array<const std::uint8_t*, 9>& samples, int count, float* sums) {
    for (int i = 0; i < count; ++i) {
        float sum = 0.0f;
        for (std::size_t tap = 0; tap < 9; ++tap)
            sum += static_cast<float>(samples[tap][i]) * kByteToFloat * kWeights[tap];
        sums[i] = sum;
    }
}

} // namespace

std::shared_ptr<const gfx::Image> blurStillImage(const gfx::Image& image, float blurSize, float brightness) {
    if (!samplesWholePixels(blurSize))
        return blurImage(image, blurSize, brightness);
    const int width = image.pixelWidth();
    const int height = image.pixelHeight();
    if (width < 1 || height < 1)
        return nullptr;
    std::unique_ptr<gfx::Bitmap> result = gfx::Bitmap::create(width, height);
    if (!result)
        return nullptr;

    // What brightness makes of each blurred colour byte, stored again.
    std::array<std::uint8_t, 256> brightened;
    for (int byte = 0; byte < 256; ++byte)
        brightened[static_cast<std::size_t>(byte)] =
            storedByte(static_cast<float>(byte) / 255.0f + brightness);

    const int spacing = static_cast<int>(blurSize);
    const int rowBytes = width * 4;
    // A row of the vertical pass, with its edge pixels repeated as far as the horizontal taps reach
    // past them: the texture's edge clamps the samples there.
    const int reach = 4 * spacing * 4;
    std::vector<std::uint8_t> padded(static_cast<std::size_t>(rowBytes + 2 * reach));
    std::vector<float> sums(static_cast<std::size_t>(rowBytes));
    std::vector<std::uint8_t> blurred(static_cast<std::size_t>(rowBytes));

    const gfx::Bitmap& source = image.bitmap();
    std::uint8_t* const into = result->mutableBytes();
    for (int y = 0; y < height; ++y) {
        std::array<const std::uint8_t*, 9> samples;
        for (std::size_t tap = 0; tap < 9; ++tap) {
            const int sourceY = std::clamp(y + (static_cast<int>(tap) - 4) * spacing, 0, height - 1);
            samples[tap] = source.bytes() + static_cast<std::ptrdiff_t>(sourceY) * source.bytesPerRow();
        }
        sumTaps(samples, rowBytes, sums.data());
        std::uint8_t* const row = padded.data() + reach;
        for (int i = 0; i < rowBytes; ++i)
            row[i] = storedByte(sums[static_cast<std::size_t>(i)]);
        for (int i = 0; i < reach; i += 4) {
            std::memcpy(padded.data() + i, row, 4);
            std::memcpy(row + rowBytes + i, row + rowBytes - 4, 4);
        }

        for (std::size_t tap = 0; tap < 9; ++tap)
            samples[tap] = row + (static_cast<int>(tap) - 4) * spacing * 4;
        sumTaps(samples, rowBytes, sums.data());
        for (int i = 0; i < rowBytes; ++i)
            blurred[static_cast<std::size_t>(i)] = storedByte(sums[static_cast<std::size_t>(i)]);

        // Brightened, then premultiplied as the platform's pixels are; the bytes are blue first.
        std::uint8_t* const to = into + static_cast<std::ptrdiff_t>(y) * result->bytesPerRow();
        for (int i = 0; i < rowBytes; i += 4) {
            const unsigned alpha = blurred[static_cast<std::size_t>(i) + 3];
            for (int channel = 0; channel < 3; ++channel) {
                const unsigned colour = brightened[blurred[static_cast<std::size_t>(i + channel)]];
                to[i + channel] = static_cast<std::uint8_t>((colour * alpha + 127) / 255);
            }
            to[i + 3] = static_cast<std::uint8_t>(alpha);
        }
    }
    result->markChanged();
    return std::make_shared<gfx::Image>(std::move(result), 1.0f);
}

} // namespace zm
