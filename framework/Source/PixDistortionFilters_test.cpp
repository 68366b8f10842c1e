#include "framework/Source/PixBulgeDistortionFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixGlassSphereFilter.h"
#include "framework/Source/PixHalftoneFilter.h"
#include "framework/Source/PixPinchDistortionFilter.h"
#include "framework/Source/PixPixellatePositionFilter.h"
#include "framework/Source/PixPolarPixellateFilter.h"
#include "framework/Source/PixPolkaDotFilter.h"
#include "framework/Source/PixStretchDistortionFilter.h"
#include "framework/Source/PixSwirlFilter.h"
#include "framework/Source/PixTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr int kWidth = 32, kHeight = 24;
constexpr double kAspect = double(kHeight) / kWidth;

struct Vec {
    double x, y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
double length(Vec a) { return std::hypot(a.x, a.y); }

// Ramps and a wave: sampling a little off where the filters ought to sample shows, yet the colours
// are smooth enough that sampling within a rounding of the right place does not.
std::vector<Rgba> smoothPicture(int width, int height) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back({static_cast<std::uint8_t>(255 * x / (width - 1)), static_cast<std::uint8_t>(255 * y / (height - 1)),
                              static_cast<std::uint8_t>(128 + 110 * std::sin(0.7 * x + 0.5 * y)), 255});
    return pixels;
}

// Samples the picture as GL does with linear filtering and clamped edges; colours 0 to 1.
class Sampler {
public:
    explicit Sampler(const std::vector<Rgba>& pixels)
        : m_pixels(pixels) {}

    std::array<double, 4> at(Vec t) const {
        const double px = t.x * kWidth - 0.5, py = t.y * kHeight - 0.5;
        const int x0 = static_cast<int>(std::floor(px)), y0 = static_cast<int>(std::floor(py));
        const double fx = px - x0, fy = py - y0;
        std::array<double, 4> colour{};
        for (int channel = 0; channel < 4; ++channel) {
            const auto texel = [&](int x, int y) {
                return m_pixels[static_cast<std::size_t>(std::clamp(y, 0, kHeight - 1) * kWidth + std::clamp(x, 0, kWidth - 1))]
                               [static_cast<std::size_t>(channel)] / 255.0;
            };
            colour[static_cast<std::size_t>(channel)] =
                (texel(x0, y0) * (1 - fx) + texel(x0 + 1, y0) * fx) * (1 - fy) +
                (texel(x0, y0 + 1) * (1 - fx) + texel(x0 + 1, y0 + 1) * fx) * fy;
        }
        return colour;
    }

private:
    const std::vector<Rgba>& m_pixels;
};

// What a pixel at texture coordinate t becomes, or nothing where it sits on an edge of the effect (a
// circle, a block) too close to call.
using Reference = std::function<std::optional<std::array<double, 4>>(Vec t, const Sampler& input)>;

Vec corrected(Vec t) {
    return {t.x, t.y * kAspect + 0.5 - 0.5 * kAspect};
}

bool onEdge(double value, double edge) {
    return std::abs(value - edge) < 2e-3;
}

Reference sampledAt(std::function<std::optional<Vec>(Vec)> where) {
    return [where](Vec t, const Sampler& input) -> std::optional<std::array<double, 4>> {
        const auto at = where(t);
        if (!at)
            return std::nullopt;
        return input.at(*at);
    };
}

Reference bulge(Vec c, double radius, double scale) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const double d = length(c - corrected(t));
        if (d >= radius)
            return t;
        const double p = 1 - ((radius - d) / radius) * scale;
        return c + (t - c) * (p * p);
    });
}

Reference pinch(Vec c, double radius, double scale) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const double d = length(c - corrected(t));
        if (onEdge(d, radius))
            return std::nullopt;
        if (d >= radius)
            return t;
        return c + (t - c) * (1 + ((0.5 - d) / 0.5) * scale);
    });
}

Reference swirl(Vec c, double radius, double angle) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const double d = length(c - t);
        if (d >= radius)
            return t;
        const double p = (radius - d) / radius, theta = p * p * angle * 8;
        const Vec v = t - c;
        return c + Vec{v.x * std::cos(theta) - v.y * std::sin(theta), v.x * std::sin(theta) + v.y * std::cos(theta)};
    });
}

Reference stretch(Vec c) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const auto one = [](double n) {
            const double a = std::abs(n), s = n < 0 ? -1 : 1;
            const double k = std::clamp((a - 0.25) / 0.25, 0.0, 1.0), smooth = k * k * (3 - 2 * k);
            return s * (0.5 * a + 0.5 * smooth * a);
        };
        const Vec n = t * 2 - Vec{1, 1} - (c * 2 - Vec{1, 1});
        return (Vec{one(n.x), one(n.y)} + c * 2 - Vec{1, 1}) * 0.5 + Vec{0.5, 0.5};
    });
}

Reference polarPixellate(Vec c, double ring, double sector) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const Vec n = t * 2 - Vec{1, 1} - (c * 2 - Vec{1, 1});
        double r = length(n), phi = std::atan2(n.y, n.x);
        const double rIn = r - ring * std::floor(r / ring), phiIn = phi - sector * std::floor(phi / sector);
        if (onEdge(rIn, 0) || onEdge(rIn, ring) || onEdge(phiIn, 0) || onEdge(phiIn, sector))
            return std::nullopt;
        r = r - rIn + 0.03;
        phi = phi - phiIn;
        return (Vec{r * std::cos(phi), r * std::sin(phi)} + c * 2 - Vec{1, 1}) * 0.5 + Vec{0.5, 0.5};
    });
}

// The block's centre, or nothing for a pixel on a block's edge.
std::optional<Vec> blockCentre(Vec t, double fraction) {
    const Vec block{fraction, fraction / kAspect};
    const Vec inside{t.x - block.x * std::floor(t.x / block.x), t.y - block.y * std::floor(t.y / block.y)};
    if (onEdge(inside.x, 0) || onEdge(inside.x, block.x) || onEdge(inside.y, 0) || onEdge(inside.y, block.y))
        return std::nullopt;
    return t - inside + block * 0.5;
}

Reference pixellate(double fraction) {
    return sampledAt([=](Vec t) { return blockCentre(t, fraction); });
}

Reference pixellatePosition(Vec c, double radius, double fraction) {
    return sampledAt([=](Vec t) -> std::optional<Vec> {
        const double d = length(c - corrected(t));
        if (onEdge(d, radius))
            return std::nullopt;
        return d < radius ? blockCentre(t, fraction) : std::optional<Vec>(t);
    });
}

// The dot of a block's centre: its colour, whether t lies in it, or nothing when too close to call.
template <class Radius> Reference dotted(double fraction, Radius dotRadius, std::function<std::array<double, 4>(bool, std::array<double, 4>)> colour) {
    return [=](Vec t, const Sampler& input) -> std::optional<std::array<double, 4>> {
        const auto centre = blockCentre(t, fraction);
        if (!centre)
            return std::nullopt;
        const std::array<double, 4> sampled = input.at(*centre);
        const double d = length(corrected(*centre) - corrected(t)), radius = dotRadius(sampled);
        if (onEdge(d, radius))
            return std::nullopt;
        return colour(d < radius, sampled);
    };
}

Reference halftone(double fraction) {
    return dotted(fraction, [=](const std::array<double, 4>& s) { return fraction * 0.5 * (1 - (0.2125 * s[0] + 0.7154 * s[1] + 0.0721 * s[2])); },
                  [](bool inDot, std::array<double, 4>) { return inDot ? std::array<double, 4>{0, 0, 0, 1} : std::array<double, 4>{1, 1, 1, 1}; });
}

Reference polkaDot(double fraction, double scaling) {
    return dotted(fraction, [=](const std::array<double, 4>&) { return fraction * 0.5 * scaling; },
                  [](bool inDot, std::array<double, 4> s) { return inDot ? s : std::array<double, 4>{0, 0, 0, s[3]}; });
}

struct Vec3 {
    double x, y, z;
};
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalised(Vec3 a) {
    const double l = std::sqrt(dot(a, a));
    return {a.x / l, a.y / l, a.z / l};
}
Vec3 refracted(Vec3 i, Vec3 n, double eta) {
    const double k = 1 - eta * eta * (1 - dot(n, i) * dot(n, i));
    if (k < 0)
        return {0, 0, 0};
    const double m = eta * dot(n, i) + std::sqrt(k);
    return {eta * i.x - m * n.x, eta * i.y - m * n.y, eta * i.z - m * n.z};
}

// The sphere's normal at t, or nothing near its rim; {} (zero) outside it.
std::optional<std::optional<Vec3>> sphereNormal(Vec t, Vec c, double radius) {
    const Vec q = corrected(t);
    const double d = length(q - c);
    if (onEdge(d, radius))
        return std::nullopt;
    if (d > radius)
        return std::optional<Vec3>();
    const double e = d / radius;
    return std::optional<Vec3>(normalised({q.x - c.x, q.y - c.y, radius * std::sqrt(1 - e * e)}));
}

Reference sphere(Vec c, double radius, double index) {
    return [=](Vec t, const Sampler& input) -> std::optional<std::array<double, 4>> {
        const auto normal = sphereNormal(t, c, radius);
        if (!normal)
            return std::nullopt;
        if (!*normal)
            return std::array<double, 4>{0, 0, 0, 0};
        const Vec3 r = refracted({0, 0, -1}, **normal, index);
        return input.at({(r.x + 1) * 0.5, (r.y + 1) * 0.5});
    };
}

Reference glassSphere(Vec c, double radius, double index) {
    return [=](Vec t, const Sampler& input) -> std::optional<std::array<double, 4>> {
        const auto normal = sphereNormal(t, c, radius);
        if (!normal)
            return std::nullopt;
        if (!*normal)
            return std::array<double, 4>{0, 0, 0, 0};
        const Vec3 n = **normal, r = refracted({0, 0, -1}, n, index);
        std::array<double, 4> colour = input.at({(-2 * r.x + 1) * 0.5, (-2 * r.y + 1) * 0.5});
        const double rim = 2.5 * (1 - std::pow(std::clamp(n.z, 0.0, 1.0), 0.25));
        const double highlight = 0.8 * std::pow(std::clamp(dot(normalised({-0.5, 0.5, 1}), n), 0.0, 1.0), 15);
        for (int channel = 0; channel < 3; ++channel)
            colour[static_cast<std::size_t>(channel)] = std::min(1.0, colour[static_cast<std::size_t>(channel)] + rim + highlight);
        colour[3] = 1;
        return colour;
    };
}

gl::RgbaImage drawn(const std::shared_ptr<PixFilter>& filter, int width, int height, const std::vector<Rgba>& pixels,
                    PixInputRotation rotation = PixInputRotationNone) {
    auto picture = PixTestImageSource::create(width, height, pixels);
    picture->addTarget(filter);
    runSynchronouslyOnContextQueue([&] { filter->setInputRotation(rotation, 0); });
    picture->push();
    return filter->newImageFromCurrentlyProcessedOutput();
}

TEST(PixDistortionFilters, SampleWhereWorkedOutOnTheProcessor) {
    const auto made = [](auto filter, auto setUp) {
        setUp(*filter);
        return std::static_pointer_cast<PixFilter>(filter);
    };
    const auto asIs = [](auto&) {};
    const Vec middle{0.5, 0.5}, aside{0.4, 0.6};
    struct Case {
        const char* name;
        std::shared_ptr<PixFilter> filter;
        Reference reference;
    };
    const Case cases[] = {
        {"bulge", made(PixBulgeDistortionFilter::create(), asIs), bulge(middle, 0.25, 0.5)},
        {"bulge aside", made(PixBulgeDistortionFilter::create(), [](auto& f) { f.setCenter({0.4f, 0.6f}); f.setRadius(0.35f); f.setScale(-0.6f); }),
         bulge(aside, 0.35, -0.6)},
        {"bulge at scale 0", made(PixBulgeDistortionFilter::create(), [](auto& f) { f.setScale(0); }), bulge(middle, 0.25, 0)},
        {"pinch", made(PixPinchDistortionFilter::create(), asIs), pinch(middle, 1, 0.5)},
        {"pinch aside", made(PixPinchDistortionFilter::create(), [](auto& f) { f.setCenter({0.4f, 0.6f}); f.setRadius(0.3f); f.setScale(-0.4f); }),
         pinch(aside, 0.3, -0.4)},
        {"pinch at scale 0", made(PixPinchDistortionFilter::create(), [](auto& f) { f.setScale(0); }), pinch(middle, 1, 0)},
        {"swirl", made(PixSwirlFilter::create(), asIs), swirl(middle, 0.5, 1)},
        {"swirl aside", made(PixSwirlFilter::create(), [](auto& f) { f.setCenter({0.4f, 0.6f}); f.setAngle(-0.5f); }), swirl(aside, 0.5, -0.5)},
        {"swirl at angle 0", made(PixSwirlFilter::create(), [](auto& f) { f.setAngle(0); }), swirl(middle, 0.5, 0)},
        {"stretch", made(PixStretchDistortionFilter::create(), asIs), stretch(middle)},
        {"stretch aside", made(PixStretchDistortionFilter::create(), [](auto& f) { f.setCenter({0.4f, 0.6f}); }), stretch(aside)},
        {"polar pixellate", made(PixPolarPixellateFilter::create(), [](auto& f) { f.setPixelSize({0.2f, 0.5f}); }),
         polarPixellate(middle, 0.2, 0.5)},
        {"sphere", made(PixSphereRefractionFilter::create(), asIs), sphere(middle, 0.25, 0.71)},
        {"sphere aside", made(PixSphereRefractionFilter::create(), [](auto& f) { f.setCenter({0.4f, 0.6f}); f.setRadius(0.3f); f.setRefractiveIndex(0.5f); }),
         sphere(aside, 0.3, 0.5)},
        {"glass sphere", made(PixGlassSphereFilter::create(), [](auto& f) { f.setRadius(0.4f); }), glassSphere(middle, 0.4, 0.71)},
        {"pixellate", made(PixPixellateFilter::create(), [](auto& f) { f.setFractionalWidthOfAPixel(0.25f); }), pixellate(0.25)},
        {"pixellate position", made(PixPixellatePositionFilter::create(), [](auto& f) { f.setFractionalWidthOfAPixel(0.125f); f.setRadius(0.3f); }),
         pixellatePosition(middle, 0.3, 0.125)},
        {"halftone", made(PixHalftoneFilter::create(), [](auto& f) { f.setFractionalWidthOfAPixel(0.25f); }), halftone(0.25)},
        {"polka dot", made(PixPolkaDotFilter::create(), [](auto& f) { f.setFractionalWidthOfAPixel(0.25f); }), polkaDot(0.25, 0.9)},
    };
    const std::vector<Rgba> picture = smoothPicture(kWidth, kHeight);
    const Sampler input(picture);
    for (const Case& c : cases) {
        const gl::RgbaImage output = drawn(c.filter, kWidth, kHeight, picture);
        ASSERT_EQ(output.width, kWidth) << c.name;
        int compared = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const auto expected = c.reference({(x + 0.5) / kWidth, (y + 0.5) / kHeight}, input);
                if (!expected)
                    continue;
                ++compared;
                const Rgba actual = output.pixel(x, y);
                for (int channel = 0; channel < 4; ++channel)
                    ASSERT_NEAR(actual[static_cast<std::size_t>(channel)], (*expected)[static_cast<std::size_t>(channel)] * 255, 3)
                        << c.name << " at (" << x << ", " << y << ") channel " << channel;
            }
        }
        EXPECT_GT(compared, kWidth * kHeight * 9 / 10) << c.name;
    }
}

TEST(PixDistortionFilters, TheCentreFollowsTheInputsTurn) {
    // On a square picture the turned input, bulged about an upright centre, is the upright picture
    // bulged about it: the centre set before the turn reaches the shader turned with it.
    const std::vector<Rgba> card = pixtest::testCard(16, 16);
    const auto pixelsOf = [](const gl::RgbaImage& image) {
        const auto* first = reinterpret_cast<const Rgba*>(image.bytes.data());
        return std::vector<Rgba>(first, first + image.width * image.height);
    };
    const auto bulgeAside = [] {
        auto bulge = PixBulgeDistortionFilter::create();
        bulge->setCenter({0.3f, 0.35f});
        bulge->setScale(0.8f);
        return bulge;
    };
    for (const PixInputRotation rotation : {PixInputRotationRotateRight, PixInputRotationFlipHorizontal, PixInputRotationRotate180}) {
        const std::vector<Rgba> upright = pixelsOf(drawn(PixFilter::create(), 16, 16, card, rotation));
        auto turned = bulgeAside();
        EXPECT_TRUE(pixelsNear(drawn(turned, 16, 16, card, rotation), pixelsOf(drawn(bulgeAside(), 16, 16, upright)), 2))
            << rotation;
        EXPECT_EQ(turned->center(), (core::Point{0.3f, 0.35f}));
    }
}

TEST(PixDistortionFilters, SizesFollowTheInput) {
    // The aspect ratio is the input texture's height over its width, turned or not.
    for (const PixInputRotation rotation : {PixInputRotationNone, PixInputRotationRotateLeft}) {
        auto bulge = PixBulgeDistortionFilter::create();
        drawn(bulge, 32, 16, smoothPicture(32, 16), rotation);
        EXPECT_FLOAT_EQ(bulge->aspectRatio(), 0.5f) << rotation;
    }
    // A block is never narrower than a pixel of the input, or of 2048 before any input.
    auto pixellate = PixPixellateFilter::create();
    pixellate->setFractionalWidthOfAPixel(0);
    EXPECT_FLOAT_EQ(pixellate->fractionalWidthOfAPixel(), 1.0f / 2048);
    auto wide = PixTestImageSource::filled(640, 2, {10, 20, 30, 255});
    wide->addTarget(pixellate);
    wide->push();
    pixellate->newImageFromCurrentlyProcessedOutput();
    pixellate->setFractionalWidthOfAPixel(0);
    EXPECT_FLOAT_EQ(pixellate->fractionalWidthOfAPixel(), 1.0f / 640);
    pixellate->setFractionalWidthOfAPixel(0.1f);
    EXPECT_FLOAT_EQ(pixellate->fractionalWidthOfAPixel(), 0.1f);
}

TEST(PixHalftoneFilter, WhiteStaysWhiteAndBlackTouchingDots) {
    // Blocks of 3 pixels: a pixel sits right on each block's centre, where a white block's dot of
    // radius 0 must not show.
    auto white = PixHalftoneFilter::create();
    white->setFractionalWidthOfAPixel(0.15f);
    const std::vector<Rgba> whitePixels(400, Rgba{255, 255, 255, 255});
    EXPECT_TRUE(pixelsNear(drawn(white, 20, 20, whitePixels), whitePixels, 0));

    // Black: dots as wide as the blocks, black at the blocks' centres, white at their corners.
    auto black = PixHalftoneFilter::create();
    black->setFractionalWidthOfAPixel(0.25f);
    const gl::RgbaImage dots = drawn(black, 16, 16, std::vector<Rgba>(256, Rgba{0, 0, 0, 255}));
    EXPECT_EQ(dots.pixel(2, 2), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(dots.pixel(5, 10), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(dots.pixel(0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(dots.pixel(7, 8), (Rgba{255, 255, 255, 255}));
}

// Every member at its first settings over a test card.
TEST(PixDistortionFilters, ContactSheet) {
    const std::pair<const char*, std::function<std::shared_ptr<PixFilter>()>> members[] = {
        {"bulge", [] { return PixBulgeDistortionFilter::create(); }},
        {"pinch", [] { return PixPinchDistortionFilter::create(); }},
        {"swirl", [] { return PixSwirlFilter::create(); }},
        {"stretch", [] { return PixStretchDistortionFilter::create(); }},
        {"polar pixellate", [] { return PixPolarPixellateFilter::create(); }},
        {"sphere refraction", [] { return PixSphereRefractionFilter::create(); }},
        {"glass sphere", [] { return PixGlassSphereFilter::create(); }},
        {"pixellate", [] { return PixPixellateFilter::create(); }},
        {"pixellate position", [] { return PixPixellatePositionFilter::create(); }},
        {"halftone", [] { return PixHalftoneFilter::create(); }},
        {"polka dot", [] { return PixPolkaDotFilter::create(); }},
    };
    for (const auto& [width, height, name] : {std::tuple{96, 160, "distortion-phone.png"}, std::tuple{192, 144, "distortion-tablet.png"}}) {
        const std::vector<Rgba> card = pixtest::testCard(width, height);
        pixtest::PixContactSheet sheet;
        sheet.add("test card", pixtest::rgbaImage(width, height, card));
        for (const auto& [member, make] : members) {
            const gl::RgbaImage output = drawn(make(), width, height, card);
            EXPECT_FALSE(pixelsNear(output, card, 8)) << member << " left the card as it was";
            sheet.add(member, output);
        }
        sheet.write(name);
    }
}

} // namespace
} // namespace zm
