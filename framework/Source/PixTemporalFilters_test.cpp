#include "framework/Source/PixBuffer.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixHighPassFilter.h"
#include "framework/Source/PixLowPassFilter.h"
#include "framework/Source/PixMotionDetector.h"
#include "framework/Source/PixTestSupport.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixTestImageSource;
using pixtest::Rgba;

Rgba grey(std::uint8_t level) {
    return {level, level, level, 255};
}

// A stream of frames into a filter, one at a time, each with its own time; what the filter shows after
// each is read back.
class Stream {
public:
    Stream(std::shared_ptr<PixFilterNode> filter, int width, int height)
        : m_filter(std::move(filter))
        , m_width(width)
        , m_height(height) {}

    gl::RgbaImage next(Rgba colour) { return next(std::vector<Rgba>(static_cast<std::size_t>(m_width) * m_height, colour)); }
    gl::RgbaImage next(const std::vector<Rgba>& pixels) {
        // A new size takes a new source.
        if (!m_source) {
            m_source = PixTestImageSource::create(m_width, m_height, pixels);
            m_source->addTarget(m_filter);
        } else {
            m_source->replacePixels(pixels);
        }
        m_source->push(PixFrameTime::make(++m_frames, 30));
        return m_filter->newImageFromCurrentlyProcessedOutput();
    }
    void resize(int width, int height) {
        m_source->removeTarget(m_filter);
        m_source.reset();
        m_width = width;
        m_height = height;
    }

private:
    std::shared_ptr<PixFilterNode> m_filter;
    std::shared_ptr<PixTestImageSource> m_source;
    int m_width, m_height;
    int m_frames = 0;
};

// The frames a buffer shows: each frame k is grey 10 k.
std::vector<int> delayedGreys(const std::shared_ptr<PixBuffer>& buffer, int frames) {
    auto shown = PixFilter::create();
    buffer->addTarget(shown);
    Stream stream(buffer, 4, 4);
    std::vector<int> greys;
    for (int frame = 1; frame <= frames; ++frame) {
        stream.next(grey(static_cast<std::uint8_t>(10 * frame)));
        greys.push_back(shown->newImageFromCurrentlyProcessedOutput().pixel(1, 1)[0]);
    }
    return greys;
}

TEST(PixTemporalFilters, ABufferShowsEachFrameAsManyFramesLate) {
    // The first frames show textures not yet drawn into: transparent black.
    EXPECT_EQ(delayedGreys(PixBuffer::create(), 4), (std::vector<int>{0, 10, 20, 30}));
    auto three = PixBuffer::create();
    three->setBufferSize(3);
    EXPECT_EQ(delayedGreys(three, 6), (std::vector<int>{0, 0, 0, 10, 20, 30}));

    auto resized = PixBuffer::create();
    resized->setBufferSize(4);
    resized->setBufferSize(0);
    EXPECT_EQ(resized->bufferSize(), 4u);
    resized->setBufferSize(2);
    EXPECT_EQ(delayedGreys(resized, 4), (std::vector<int>{0, 0, 10, 20}));
}

TEST(PixTemporalFilters, ABufferKeepsUpWithALargerFrame) {
    auto buffer = PixBuffer::create();
    buffer->setBufferSize(2);
    auto shown = PixFilter::create();
    buffer->addTarget(shown);
    Stream stream(buffer, 64, 64);
    stream.next(grey(10));
    stream.next(grey(20));
    stream.resize(640, 480);
    // The delay starts again at the new size, from transparent black.
    stream.next(grey(30));
    const gl::RgbaImage first = shown->newImageFromCurrentlyProcessedOutput();
    ASSERT_EQ(first.width, 640);
    EXPECT_EQ(first.pixel(600, 400), (Rgba{0, 0, 0, 0}));
    stream.next(grey(40));
    stream.next(grey(50));
    EXPECT_EQ(shown->newImageFromCurrentlyProcessedOutput().pixel(600, 400), grey(30));
}

TEST(PixTemporalFilters, RunningAveragesStepTowardsANewPicture) {
    const auto levels = [](const std::shared_ptr<PixFilterNode>& filter, int frames) {
        Stream stream(filter, 4, 4);
        std::vector<int> reds;
        for (int frame = 0; frame < frames; ++frame)
            reds.push_back(stream.next(grey(255)).pixel(2, 2)[0]);
        return reds;
    };
    const auto near = [](const std::vector<int>& actual, const std::vector<int>& expected) {
        for (std::size_t index = 0; index < expected.size(); ++index)
            if (std::abs(actual[index] - expected[index]) > 2)
                return ::testing::AssertionFailure() << "frame " << index << " is " << actual[index];
        return ::testing::AssertionSuccess();
    };
    // From the buffer's transparent black: 0.5, 0.75, 0.875 of white.
    EXPECT_TRUE(near(levels(PixLowPassFilter::create(), 3), {128, 191, 223}));
    auto passing = PixLowPassFilter::create();
    passing->setFilterStrength(0);
    EXPECT_TRUE(near(levels(passing, 2), {255, 255}));
    // What the average has not caught up with: 0.5, 0.25, 0.125.
    EXPECT_TRUE(near(levels(PixHighPassFilter::create(), 3), {128, 64, 32}));
}

TEST(PixTemporalFilters, MotionIsReportedWhereThePictureChanges) {
    auto detector = PixMotionDetector::create();
    core::Point centroid{-1, -1};
    float intensity = -1;
    detector->setMotionDetectionBlock([&](core::Point motionCentroid, float motionIntensity, PixFrameTime) {
        centroid = motionCentroid;
        intensity = motionIntensity;
    });
    Stream stream(detector, 64, 64);
    // A still black picture: nothing moves, and the centroid of nothing is not a number.
    stream.next(grey(0));
    stream.next(grey(0));
    EXPECT_EQ(intensity, 0);
    EXPECT_TRUE(std::isnan(centroid.x) && std::isnan(centroid.y));

    // The whole picture turns white.
    stream.next(grey(255));
    EXPECT_NEAR(intensity, 1, 0.02);
    EXPECT_NEAR(centroid.x, 0.5, 0.03);
    EXPECT_NEAR(centroid.y, 0.5, 0.03);

    // Then, at a larger size and once the average has settled on white, only its right quarter goes black.
    stream.resize(640, 480);
    for (int frame = 0; frame < 4; ++frame)
        stream.next(grey(255));
    std::vector<Rgba> quarter;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            quarter.push_back(x >= 480 ? grey(0) : grey(255));
    stream.next(quarter);
    EXPECT_NEAR(intensity, 0.25, 0.03);
    EXPECT_NEAR(centroid.x, 0.875, 0.03);
    EXPECT_NEAR(centroid.y, 0.5, 0.03);
}

} // namespace
} // namespace zm
