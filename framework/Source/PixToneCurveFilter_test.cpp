#include "framework/Source/PixACVFile.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixToneCurve.h"
#include "framework/Source/PixToneCurveFilter.h"
#include "platform/core/Log.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;
using Points = PixToneCurveFilter::ControlPoints;

// A curve file of big-endian words: the version, the curve count, then the given words.
std::vector<std::uint8_t> curveFile(std::initializer_list<int> words) {
    std::vector<std::uint8_t> bytes;
    for (const int word : words) {
        bytes.push_back(static_cast<std::uint8_t>((word >> 8) & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    }
    return bytes;
}

// The level the table gives input level `level` in a channel (0 blue, 1 green, 2 red).
int tableLevel(const std::array<std::uint8_t, 1024>& table, int level, int channel) {
    return table[static_cast<std::size_t>(level) * 4 + static_cast<std::size_t>(channel)];
}

TEST(PixToneCurve, SamplesTheSplineAtEveryLevel) {
    // Two points from level 63.75: the curve has all 256 entries, 0 below the first point, the
    // diagonal from it on.
    const auto fromAQuarter = preparedSplineCurve({{0.25f, 0.25f}, {1, 1}});
    ASSERT_TRUE(fromAQuarter);
    ASSERT_EQ(fromAQuarter->size(), 256u);
    for (int level = 0; level < 256; ++level) {
        const float value = static_cast<float>(level) + (*fromAQuarter)[static_cast<std::size_t>(level)];
        EXPECT_NEAR(value, level < 63 ? 0 : level, 1) << level;
    }

    // A bent curve through three points passes through each of them, and is smooth between.
    const auto bent = preparedSplineCurve({{0, 0}, {0.5f, 0.75f}, {1, 1}});
    ASSERT_TRUE(bent);
    EXPECT_NEAR((*bent)[0], 0, 0.01);
    EXPECT_NEAR((*bent)[127] + 127, 0.75 * 255 * 127 / 127.5, 1.5);
    EXPECT_NEAR((*bent)[255] + 255, 255, 0.01);
    for (int level = 1; level < 256; ++level)
        EXPECT_GE((*bent)[static_cast<std::size_t>(level)] + 1, (*bent)[static_cast<std::size_t>(level - 1)]) << level;
}

TEST(PixToneCurve, PointsOfOneInputKeepTheFirstAndNeverGiveNaN) {
    const auto repeated = preparedSplineCurve({{0, 0}, {0.5f, 0.2f}, {0.5f, 0.9f}, {1, 1}});
    const auto first = preparedSplineCurve({{0, 0}, {0.5f, 0.2f}, {1, 1}});
    ASSERT_TRUE(repeated && first);
    EXPECT_EQ(*repeated, *first);
    // Points that all share one input, or too few, are no curve at all.
    EXPECT_FALSE(preparedSplineCurve({{0.5f, 0}, {0.5f, 1}}));
    EXPECT_FALSE(preparedSplineCurve({{0.5f, 0}}));
    EXPECT_FALSE(preparedSplineCurve({}));
    // Points beyond 0 to 1, or not numbers, give entries only within the table.
    const auto wide = preparedSplineCurve({{-1, 0}, {NAN, 0.5f}, {2, 1}});
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), 256u);
    for (const float entry : *wide)
        EXPECT_TRUE(std::isfinite(entry));
}

TEST(PixACVFile, ReadsWhatItsDataHoldsAndRefusesWhatItDoesNot) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        bool refused;
        std::vector<std::size_t> pointCounts; // composite, red, green, blue; absent curves left out
    };
    const Case cases[] = {
        {"empty", {}, true, {}},
        {"shorter than its header", {0, 1, 0}, true, {}},
        {"four curves", curveFile({1, 4, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 3, 0, 0, 128, 100, 255, 255}), false,
         {2, 2, 2, 3}},
        {"a fifth curve is read and ignored", curveFile({1, 5, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 9, 9}), false, {1, 1, 1, 1}},
        {"truncated inside a point", curveFile({1, 4, 2, 0, 0, 255}), true, {}},
        {"truncated before a curve", curveFile({1, 4, 2, 0, 0, 255, 255}), true, {}},
        {"a point count past the end", curveFile({1, 1, 400, 0, 0}), true, {}},
        {"a negative curve count", curveFile({1, -1, 2, 0, 0, 255, 255}), true, {}},
        {"three curves", curveFile({1, 3, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255}), false, {2, 2, 2}},
        {"no curves", curveFile({1, 0}), false, {}},
        {"repeated inputs", curveFile({1, 1, 3, 0, 0, 100, 128, 200, 128}), false, {3}},
    };
    for (const Case& c : cases) {
        core::LogCapture log;
        const PixACVFile file = PixACVFile::read(c.data);
        const PixACVFile::Curve* curves[] = {&file.rgbCompositeCurvePoints, &file.redCurvePoints, &file.greenCurvePoints,
                                             &file.blueCurvePoints};
        for (std::size_t index = 0; index < 4; ++index) {
            if (index < c.pointCounts.size()) {
                ASSERT_TRUE(*curves[index]) << c.name << " curve " << index;
                EXPECT_EQ((*curves[index])->size(), c.pointCounts[index]) << c.name << " curve " << index;
            } else {
                EXPECT_FALSE(*curves[index]) << c.name << " curve " << index;
            }
        }
        EXPECT_EQ(!log.messages().empty(), c.refused) << c.name;
        if (c.refused && !log.messages().empty()) {
            EXPECT_NE(log.messages()[0].find("failed to init ACVFile with data"), std::string::npos) << c.name;
        }
    }
    // Points are (input, output) over 255.
    const PixACVFile file = PixACVFile::read(curveFile({1, 1, 2, 0, 0, 51, 102}));
    ASSERT_TRUE(file.rgbCompositeCurvePoints);
    EXPECT_EQ(file.version, 1);
    EXPECT_EQ(file.totalCurves, 1);
    EXPECT_NEAR((*file.rgbCompositeCurvePoints)[1].x, 0.4f, 1e-6);
    EXPECT_NEAR((*file.rgbCompositeCurvePoints)[1].y, 0.2f, 1e-6);
}

TEST(PixToneCurveFilter, BakesTheCurvesIntoItsTable) {
    struct Case {
        const char* name;
        std::function<void(PixToneCurveFilter&)> setUp;
        std::function<int(int)> red, green, blue; // the level each input level becomes
    };
    const auto same = [](int level) { return level; };
    const Case cases[] = {
        {"at first", [](PixToneCurveFilter&) {}, same, same, same},
        {"red through (0, 0) and (1, 0.5)", [](PixToneCurveFilter& f) { f.setRedControlPoints({{0, 0}, {1, 0.5f}}); },
         [](int level) { return level / 2; }, same, same},
        {"the composite inverted over the identity",
         [](PixToneCurveFilter& f) { f.setRgbCompositeControlPoints({{0, 1}, {1, 0}}); },
         [](int level) { return 255 - level; }, [](int level) { return 255 - level; }, [](int level) { return 255 - level; }},
        {"the composite after the channel",
         [](PixToneCurveFilter& f) {
             f.setRGBControlPoints({{0, 0}, {1, 0.5f}});
             f.setRgbCompositeControlPoints({{0, 1}, {1, 0}});
         },
         [](int level) { return 255 - level / 2; }, [](int level) { return 255 - level / 2; },
         [](int level) { return 255 - level / 2; }},
        {"a curve file of four identities",
         [](PixToneCurveFilter& f) {
             f.setRedControlPoints({{0, 0}, {1, 0.5f}});
             f.setPointsWithACV(curveFile({1, 4, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255}));
         },
         same, same, same},
        {"a curve too short keeps the table", [](PixToneCurveFilter& f) {
             f.setBlueControlPoints({{0, 1}, {1, 0}});
             f.setGreenControlPoints({{0.5f, 0.5f}});
         },
         same, same, [](int level) { return 255 - level; }},
        {"an unreadable curve file keeps the curves", [](PixToneCurveFilter& f) {
             f.setRedControlPoints({{0, 0}, {1, 0.5f}});
             f.setPointsWithACV(curveFile({1, 4, 2, 0, 0}));
         },
         [](int level) { return level / 2; }, same, same},
    };
    for (const Case& c : cases) {
        core::LogCapture log;
        auto filter = PixToneCurveFilter::create();
        c.setUp(*filter);
        const std::array<std::uint8_t, 1024> table = filter->toneCurveBytes();
        for (int level = 0; level < 256; ++level) {
            ASSERT_NEAR(tableLevel(table, level, 2), c.red(level), 2) << c.name << " red " << level;
            ASSERT_NEAR(tableLevel(table, level, 1), c.green(level), 2) << c.name << " green " << level;
            ASSERT_NEAR(tableLevel(table, level, 0), c.blue(level), 2) << c.name << " blue " << level;
            ASSERT_EQ(table[static_cast<std::size_t>(level) * 4 + 3], 255) << c.name;
        }
    }
}

TEST(PixToneCurveFilter, DrawsEachChannelThroughItsCurve) {
    auto filter = PixToneCurveFilter::create();
    filter->setRedControlPoints({{0, 0}, {1, 0.5f}});
    filter->setBlueControlPoints({{0, 1}, {1, 0}});
    auto picture = PixTestImageSource::create(4, 1, {{0, 0, 0, 255}, {100, 100, 100, 255}, {200, 60, 30, 128}, {255, 255, 255, 255}});
    picture->addTarget(filter);
    picture->push();
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(),
                           {{0, 0, 255, 255}, {50, 100, 155, 255}, {100, 60, 225, 128}, {127, 255, 0, 255}}, 2));
}

TEST(PixToneCurveFilter, ReadsACurveFileFromItsPath) {
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "halve-red.acv";
    {
        const std::vector<std::uint8_t> halveRed =
            curveFile({1, 4, 2, 0, 0, 255, 255, 2, 0, 0, 128, 255, 2, 0, 0, 255, 255, 2, 0, 0, 255, 255});
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(file);
        std::fwrite(halveRed.data(), 1, halveRed.size(), file);
        std::fclose(file);
    }
    EXPECT_NEAR(tableLevel(PixToneCurveFilter::createWithACVURL(path)->toneCurveBytes(), 200, 2), 100, 2);

    core::LogCapture log;
    auto missing = PixToneCurveFilter::createWithACVURL(path.parent_path() / "no-such-curves.acv");
    EXPECT_NEAR(tableLevel(missing->toneCurveBytes(), 200, 2), 200, 2);
    EXPECT_FALSE(log.messages().empty());
}

} // namespace
} // namespace zm
