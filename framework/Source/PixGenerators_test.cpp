#include "framework/Source/PixContext.h"
#include "framework/Source/PixCrosshairGenerator.h"
#include "framework/Source/PixJFAVoronoiFilter.h"
#include "framework/Source/PixLineGenerator.h"
#include "framework/Source/PixPerlinNoiseFilter.h"
#include "framework/Source/PixSolidColorGenerator.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixVoronoiConsumerFilter.h"
#include "platform/core/Log.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr Rgba kClear{0, 0, 0, 0};

std::vector<Rgba> pixelsOf(const gl::RgbaImage& image) {
    const auto* first = reinterpret_cast<const Rgba*>(image.bytes.data());
    return std::vector<Rgba>(first, first + image.width * image.height);
}

int litPixels(const gl::RgbaImage& image) {
    int lit = 0;
    for (const Rgba& pixel : pixelsOf(image))
        lit += pixel[3] > 0;
    return lit;
}

TEST(PixSolidColorGenerator, DrawsAtAForcedSizeWithoutASourceAndServesLaterTargetsAtOnce) {
    auto solid = PixSolidColorGenerator::create();
    solid->setColorRed(1, 0.5f, 0, 1);
    solid->forceProcessingAtSize({4, 3});
    EXPECT_TRUE(pixelsNear(solid->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(12, Rgba{255, 128, 0, 255}), 1));

    auto later = PixFilter::create();
    solid->addTarget(later);
    const gl::RgbaImage received = later->newImageFromCurrentlyProcessedOutput();
    EXPECT_EQ(received.width, 4);
    EXPECT_TRUE(pixelsNear(received, std::vector<Rgba>(12, Rgba{255, 128, 0, 255}), 1));

    // Over a source, with its alpha kept or not.
    for (const bool keep : {false, true}) {
        auto over = PixSolidColorGenerator::create();
        over->setUseExistingAlpha(keep);
        auto picture = PixTestImageSource::create(2, 1, {{10, 10, 10, 255}, {10, 10, 10, 64}});
        picture->addTarget(over);
        picture->push();
        EXPECT_TRUE(pixelsNear(over->newImageFromCurrentlyProcessedOutput(),
                               {{0, 0, 128, 255}, {0, 0, 128, static_cast<std::uint8_t>(keep ? 64 : 255)}}, 1))
            << keep;
    }
}

// The lines drawn on a forced frame of the size, read back.
gl::RgbaImage linesDrawn(int width, int height, const std::vector<GLfloat>& lines, float grey = 1) {
    auto generator = PixLineGenerator::create();
    generator->forceProcessingAtSize({static_cast<float>(width), static_cast<float>(height)});
    generator->setLineColorRed(grey, grey, grey);
    generator->renderLinesFromArray(lines.data(), static_cast<unsigned>(lines.size() / 2), PixFrameTime::indefiniteTime());
    return generator->newImageFromCurrentlyProcessedOutput();
}

TEST(PixLineGenerator, DrawsLinesFromSlopesAndIntercepts) {
    // A 9 x 9 frame: y = 0 runs along the middle row; x = 0.5 down column 6 (6.75 pixels in).
    const gl::RgbaImage horizontal = linesDrawn(9, 9, {0, 0});
    const gl::RgbaImage vertical = linesDrawn(9, 9, {10000, 0.5f});
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(horizontal.pixel(x, y), (y == 4 ? Rgba{255, 255, 255, 255} : kClear)) << x << "," << y;
            EXPECT_EQ(vertical.pixel(x, y), (x == 6 ? Rgba{255, 255, 255, 255} : kClear)) << x << "," << y;
        }
    }
    // Crossing lines add up where they meet.
    const gl::RgbaImage crossing = linesDrawn(9, 9, {0, 0, 10000, 0.5f}, 0.3f);
    EXPECT_NEAR(crossing.pixel(6, 4)[0], 153, 2);
    EXPECT_NEAR(crossing.pixel(2, 4)[0], 77, 2);
    EXPECT_NEAR(crossing.pixel(6, 1)[0], 77, 2);
    EXPECT_EQ(crossing.pixel(6, 4)[3], 255);
}

TEST(PixLineGenerator, DrawsTheFirst1024LinesOfMoreAndSaysSo) {
    // 2000 lines, one through the middle of each row of a frame 2000 rows high.
    constexpr int kRows = 2000;
    std::vector<GLfloat> lines;
    for (int row = 0; row < kRows; ++row) {
        lines.push_back(0);
        lines.push_back((row + 0.5f) / kRows * 2 - 1);
    }
    core::LogCapture log;
    const gl::RgbaImage drawn = linesDrawn(2, kRows, lines);
    for (int row = 0; row < kRows; ++row)
        ASSERT_EQ(drawn.pixel(0, row)[3], row < 1024 ? 255 : 0) << row;
    EXPECT_TRUE(log.contains("PixLineGenerator draws at most 1024 lines; 976 left out"));
}

TEST(PixLineGenerator, KeepsItsLineWidthToItsOwnDraws) {
    auto thick = PixLineGenerator::create();
    thick->setLineWidth(3);
    auto thin = PixLineGenerator::create();
    for (auto& generator : {thick, thin})
        generator->forceProcessingAtSize({9, 9});
    const GLfloat middle[] = {0, 0};
    thick->renderLinesFromArray(middle, 1, PixFrameTime::indefiniteTime());
    thin->renderLinesFromArray(middle, 1, PixFrameTime::indefiniteTime());
    EXPECT_EQ(litPixels(thin->newImageFromCurrentlyProcessedOutput()), 9);
    EXPECT_EQ(litPixels(thick->newImageFromCurrentlyProcessedOutput()), 27);
}

TEST(PixCrosshairGenerator, DrawsACrossInASpriteOneWiderThanIt) {
    auto generator = PixCrosshairGenerator::create();
    generator->forceProcessingAtSize({16, 16});
    generator->setCrosshairColorRed(1, 0, 0);
    const GLfloat middle[] = {0.5f, 0.5f};
    generator->renderCrosshairsFromArray(middle, 1, PixFrameTime::indefiniteTime());
    const gl::RgbaImage drawn = generator->newImageFromCurrentlyProcessedOutput();
    // Width 5: a sprite of 6 x 6 pixels about (8, 8), columns and rows 5 to 10. Its arms are 5 pixels
    // long and cross 3 / 5 of the way into it from the sprite's corner at the frame's top left as GL
    // numbers points (the last row read back): a pixel in from its left edge and from that row.
    std::vector<Rgba> expected(256, kClear);
    for (int along = 0; along < 5; ++along) {
        expected[static_cast<std::size_t>(7 * 16 + 6 + along)] = {255, 0, 0, 255};
        expected[static_cast<std::size_t>((5 + along) * 16 + 8)] = {255, 0, 0, 255};
    }
    EXPECT_TRUE(pixelsNear(drawn, expected, 1));
}

// The noise as the shader works it, in double precision.
double gradientNoise(double px, double py) {
    const auto mod289 = [](double x) { return x - std::floor(x / 289) * 289; };
    const auto permute = [&](double x) { return mod289((34 * x + 1) * x); };
    const double x0 = mod289(std::floor(px)), y0 = mod289(std::floor(py)), x1 = mod289(std::floor(px) + 1),
                 y1 = mod289(std::floor(py) + 1);
    const double fx = px - std::floor(px), fy = py - std::floor(py);
    const auto corner = [&](double cx, double cy, double ox, double oy) {
        const double i = permute(permute(cx) + cy);
        double gx = (i / 41 - std::floor(i / 41)) * 2 - 1;
        const double gy = std::abs(gx) - 0.5;
        gx -= std::floor(gx + 0.5);
        const double norm = 1.79284291400159 - 0.85373472095314 * (gx * gx + gy * gy);
        return norm * (gx * ox + gy * oy);
    };
    const double n00 = corner(x0, y0, fx, fy), n10 = corner(x1, y0, fx - 1, fy), n01 = corner(x0, y1, fx, fy - 1),
                 n11 = corner(x1, y1, fx - 1, fy - 1);
    const auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double u = fade(fx), v = fade(fy);
    const double bottom = n00 + (n10 - n00) * u, top = n01 + (n11 - n01) * u;
    return 2.3 * (bottom + (top - bottom) * v);
}

TEST(PixPerlinNoiseFilter, ShadesTheNoiseBetweenItsColours) {
    auto noise = PixPerlinNoiseFilter::create();
    noise->setScale(5);
    noise->setColorStart({1, 0, 0, 1});
    noise->setColorFinish({0, 0, 1, 1});
    auto frame = PixTestImageSource::filled(16, 16, {0, 0, 0, 255});
    frame->addTarget(noise);
    frame->push();
    const gl::RgbaImage drawn = noise->newImageFromCurrentlyProcessedOutput();
    int varied = 0;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{3, 7}, std::pair{8, 8}, std::pair{11, 2}, std::pair{15, 13}, std::pair{6, 14}}) {
        const double n = (gradientNoise((x + 0.5) / 16 * 5, (y + 0.5) / 16 * 5) + 1) / 2;
        const Rgba pixel = drawn.pixel(x, y);
        EXPECT_NEAR(pixel[0], 255 * (1 - n), 2) << x << "," << y;
        EXPECT_NEAR(pixel[2], 255 * n, 2) << x << "," << y;
        EXPECT_EQ(pixel[1], 0);
        varied += std::abs(n - 0.5) > 0.05;
    }
    EXPECT_GE(varied, 3) << "the points sampled should not all sit at the middle of the shading";
}

// Seeds on a 16 x 16 frame, encoded as the Voronoi filters read them: red and green the pixel.
constexpr std::array<std::array<int, 2>, 3> kSeeds{{{3, 3}, {12, 4}, {7, 12}}};

std::vector<Rgba> seedPixels() {
    std::vector<Rgba> pixels(256, kClear);
    for (const auto& [x, y] : kSeeds)
        pixels[static_cast<std::size_t>(y * 16 + x)] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0, 255};
    return pixels;
}

// The seed nearest each pixel's centre, or -1 where two are nearly as near.
std::vector<int> nearestSeeds() {
    std::vector<int> nearest;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::vector<std::pair<double, int>> distances;
            for (int seed = 0; seed < 3; ++seed) {
                // A seed's colour reads back as its pixel's corner times 256 / 255.
                const double sx = kSeeds[static_cast<std::size_t>(seed)][0] * 256.0 / 255, sy = kSeeds[static_cast<std::size_t>(seed)][1] * 256.0 / 255;
                distances.push_back({std::hypot(x + 0.5 - sx, y + 0.5 - sy), seed});
            }
            std::sort(distances.begin(), distances.end());
            nearest.push_back(distances[1].first - distances[0].first < 0.2 ? -1 : distances[0].second);
        }
    }
    return nearest;
}

TEST(PixJFAVoronoiFilter, GivesEachPixelItsNearestSeedWhichTheConsumerColours) {
    auto voronoi = PixJFAVoronoiFilter::create();
    voronoi->setSizeInPixels({16, 16});
    auto consumer = PixVoronoiConsumerFilter::create();
    consumer->setSizeInPixels({16, 16});
    // The picture coloured by: red above left, green above right, blue below; each seed well inside one.
    std::vector<Rgba> regions;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            regions.push_back(y >= 8 ? Rgba{0, 0, 255, 255} : x < 8 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255});
    const Rgba seedColours[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};

    auto seeds = PixTestImageSource::create(16, 16, seedPixels());
    auto picture = PixTestImageSource::create(16, 16, regions);
    seeds->addTarget(voronoi);
    picture->addTarget(consumer);
    voronoi->addTarget(consumer, 1);
    picture->push();
    seeds->push();
    const gl::RgbaImage diagram = voronoi->newImageFromCurrentlyProcessedOutput();
    const gl::RgbaImage coloured = consumer->newImageFromCurrentlyProcessedOutput();

    const std::vector<int> nearest = nearestSeeds();
    int compared = 0;
    for (int pixel = 0; pixel < 256; ++pixel) {
        const int seed = nearest[static_cast<std::size_t>(pixel)];
        if (seed < 0)
            continue;
        ++compared;
        const auto& [sx, sy] = kSeeds[static_cast<std::size_t>(seed)];
        EXPECT_EQ(diagram.pixel(pixel % 16, pixel / 16), (Rgba{static_cast<std::uint8_t>(sx), static_cast<std::uint8_t>(sy), 0, 255}))
            << "pixel " << pixel % 16 << "," << pixel / 16;
        EXPECT_EQ(coloured.pixel(pixel % 16, pixel / 16), seedColours[seed]) << "pixel " << pixel % 16 << "," << pixel / 16;
    }
    EXPECT_GT(compared, 220);
}

TEST(PixJFAVoronoiFilter, TargetsAndReadBackGetTheLastPassAtEitherParity) {
    // 128: passes 0 to 8, the last in the first framebuffer; 256: 0 to 9, the last in the second. One
    // filter takes both in turn, and then the first again.
    auto voronoi = PixJFAVoronoiFilter::create();
    auto after = PixFilter::create();
    voronoi->addTarget(after);
    for (const int side : {128, 256, 128}) {
        voronoi->setSizeInPixels({static_cast<float>(side), static_cast<float>(side)});
        std::vector<Rgba> seeds(static_cast<std::size_t>(side * side), kClear);
        for (const auto& [x, y] : {std::pair{5, 9}, std::pair{side - 20, side / 2}, std::pair{side / 3, side - 7}})
            seeds[static_cast<std::size_t>(y * side + x)] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0, 255};
        auto source = PixTestImageSource::create(side, side, seeds);
        source->addTarget(voronoi);
        source->push();
        const gl::RgbaImage readBack = voronoi->newImageFromCurrentlyProcessedOutput();
        EXPECT_EQ(readBack.bytes, after->newImageFromCurrentlyProcessedOutput().bytes) << side;
        // Every pixel belongs to a seed by then.
        EXPECT_EQ(litPixels(readBack), side * side) << side;
        unsigned passes = 0;
        runSynchronouslyOnContextQueue([&] { passes = voronoi->numPasses(); });
        EXPECT_EQ(passes, side == 256 ? 8u : 7u);
    }
}

TEST(PixJFAVoronoiFilter, SizesMustBeSquarePowersOfTwo) {
    EXPECT_EQ(PixJFAVoronoiFilter::nextPowerOfTwo({256, 100}), 256u);
    EXPECT_EQ(PixJFAVoronoiFilter::nextPowerOfTwo({257, 1}), 512u);
    EXPECT_EQ(PixJFAVoronoiFilter::nextPowerOfTwo({1, 1}), 1u);
    struct Case {
        core::Size size;
        const char* logged; // nothing for a size that is sent
    };
    const Case cases[] = {
        {{256, 128}, "Voronoi point texture must be square"},
        {{300, 300}, "Voronoi point texture must be a power of 2.  Texture size: 300.000000, 300.000000"},
        {{256, 256}, nullptr},
    };
    for (const Case& c : cases) {
        core::LogCapture log;
        PixJFAVoronoiFilter::create()->setSizeInPixels(c.size);
        if (c.logged)
            EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        else
            EXPECT_TRUE(log.messages().empty());
    }
    core::LogCapture log;
    PixVoronoiConsumerFilter::create()->setSizeInPixels({300, 300});
    EXPECT_TRUE(log.contains("Voronoi point texture must be a power of 2.  Texture size 300.000000, 300.000000"));
}

// Each generator over a frame of the size, and a test card coloured by the Voronoi cells of a few seeds.
TEST(PixGenerators, ContactSheet) {
    for (const auto& [width, height, name] : {std::tuple{96, 160, "generators-phone.png"}, std::tuple{192, 144, "generators-tablet.png"}}) {
        const core::Size size{static_cast<float>(width), static_cast<float>(height)};
        pixtest::PixContactSheet sheet;

        auto solid = PixSolidColorGenerator::create();
        solid->forceProcessingAtSize(size);
        sheet.add("solid colour", solid->newImageFromCurrentlyProcessedOutput());

        auto lines = PixLineGenerator::create();
        lines->forceProcessingAtSize(size);
        lines->setLineWidth(2);
        const GLfloat slopes[] = {0, 0, 1, 0.2f, -0.5f, -0.4f, 10000, -0.3f, 3, 0.5f};
        lines->renderLinesFromArray(slopes, 5, PixFrameTime::indefiniteTime());
        const gl::RgbaImage drawnLines = lines->newImageFromCurrentlyProcessedOutput();
        EXPECT_GT(litPixels(drawnLines), width);
        sheet.add("lines", drawnLines);

        auto crosshairs = PixCrosshairGenerator::create();
        crosshairs->forceProcessingAtSize(size);
        crosshairs->setCrosshairWidth(9);
        const GLfloat points[] = {0.2f, 0.2f, 0.5f, 0.5f, 0.8f, 0.3f, 0.3f, 0.85f};
        crosshairs->renderCrosshairsFromArray(points, 4, PixFrameTime::indefiniteTime());
        const gl::RgbaImage drawnCrosshairs = crosshairs->newImageFromCurrentlyProcessedOutput();
        EXPECT_GT(litPixels(drawnCrosshairs), 4 * 12);
        sheet.add("crosshairs", drawnCrosshairs);

        auto frame = PixTestImageSource::create(width, height, pixtest::testCard(width, height));
        auto noise = PixPerlinNoiseFilter::create();
        frame->addTarget(noise);
        frame->push();
        sheet.add("perlin noise", noise->newImageFromCurrentlyProcessedOutput());

        // The Voronoi cells of seven seeds over a square frame, and the test card coloured by them.
        constexpr int kSide = 128;
        std::vector<Rgba> seeds(kSide * kSide, kClear);
        for (const auto& [x, y] : {std::pair{10, 12}, std::pair{90, 20}, std::pair{60, 64}, std::pair{20, 100}, std::pair{110, 110},
                                   std::pair{40, 40}, std::pair{100, 70}})
            seeds[static_cast<std::size_t>(y * kSide + x)] = {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0, 255};
        auto voronoi = PixJFAVoronoiFilter::create();
        voronoi->setSizeInPixels({kSide, kSide});
        auto consumer = PixVoronoiConsumerFilter::create();
        consumer->setSizeInPixels({kSide, kSide});
        auto seedSource = PixTestImageSource::create(kSide, kSide, seeds);
        auto card = PixTestImageSource::create(kSide, kSide, pixtest::testCard(kSide, kSide));
        seedSource->addTarget(voronoi);
        card->addTarget(consumer);
        voronoi->addTarget(consumer, 1);
        card->push();
        seedSource->push();
        const gl::RgbaImage diagram = voronoi->newImageFromCurrentlyProcessedOutput();
        EXPECT_EQ(litPixels(diagram), kSide * kSide);
        // The seeds' encoded positions are dark; brightened to show the cells.
        gl::RgbaImage shown = diagram;
        for (std::size_t byte = 0; byte < shown.bytes.size(); ++byte)
            if (byte % 4 != 3)
                shown.bytes[byte] = static_cast<std::uint8_t>(std::min(255, shown.bytes[byte] * 2));
        sheet.add("voronoi cells", shown);
        sheet.add("voronoi consumer", consumer->newImageFromCurrentlyProcessedOutput());
        sheet.write(name);
    }
}

} // namespace
} // namespace zm
