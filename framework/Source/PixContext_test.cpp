#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"

#include <future>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(PixContext, FitsSizesIntoTheMaximumTextureSizeKeepingTheirAspectRatio) {
    struct Case {
        core::Size input;
        core::Size fitted;
    };
    const Case cases[] = {
        {{5000, 1000}, {4096, 819.2f}}, {{1000, 5000}, {819.2f, 4096}}, {{100, 50}, {100, 50}},
        {{4096, 100}, {4096, 100}}, // a side equal to the maximum takes the fitting road and comes back
        {{4096, 4096}, {4096, 4096}},
    };
    for (const Case& c : cases) {
        const core::Size fitted = PixContext::sizeThatFitsWithinATextureForSize(c.input, 4096);
        EXPECT_FLOAT_EQ(fitted.width, c.fitted.width) << c.input.width << "x" << c.input.height;
        EXPECT_FLOAT_EQ(fitted.height, c.fitted.height) << c.input.width << "x" << c.input.height;
    }
}

TEST(PixContext, FitsIntoTheDevicesOwnMaximum) {
    const GLint maximum = PixContext::maximumTextureSizeForThisDevice();
    ASSERT_GE(maximum, 2048); // llvmpipe offers far more
    const float side = static_cast<float>(maximum) * 2;
    EXPECT_EQ(PixContext::sizeThatFitsWithinATextureForSize({side, side / 4}),
              (core::Size{static_cast<float>(maximum), static_cast<float>(maximum) / 4}));
}

TEST(PixContext, TheSharedInstanceIsOneWhicheverThreadAsksFirst) {
    std::vector<std::future<PixContext*>> askers;
    for (int i = 0; i < 4; ++i)
        askers.push_back(
            std::async(std::launch::async, [] { return &PixContext::sharedImageProcessingContext(); }));
    PixContext* first = askers.front().get();
    for (std::size_t i = 1; i < askers.size(); ++i)
        EXPECT_EQ(askers[i].get(), first);
}

TEST(PixContext, WorkQueuedFromTheQueueRunsInlineInProgramOrder) {
    std::vector<std::string> order;
    runSynchronouslyOnContextQueue([&] {
        EXPECT_TRUE(PixContext::isOnContextQueue());
        order.push_back("outer begins");
        runSynchronouslyOnContextQueue([&] { order.push_back("synchronous inner"); });
        runAsynchronouslyOnContextQueue([&] { order.push_back("asynchronous inner"); });
        order.push_back("outer ends");
    });
    EXPECT_FALSE(PixContext::isOnContextQueue());
    EXPECT_EQ(order, (std::vector<std::string>{"outer begins", "synchronous inner", "asynchronous inner",
                                               "outer ends"}));
}

TEST(PixContext, ASynchronousCallWaitsForWorkQueuedBeforeIt) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> order;
    runAsynchronouslyOnContextQueue([released, &order] {
        released.wait();
        order.push_back(1);
    });
    runAsynchronouslyOnContextQueue([&order] { order.push_back(2); });
    std::thread releaser([&] { release.set_value(); });
    runSynchronouslyOnContextQueue([&order] { order.push_back(3); });
    releaser.join();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(PixContext, ExtensionsAreMatchedByWholeName) {
    // llvmpipe lists both; a prefix of a listed name is not a listed name.
    EXPECT_TRUE(PixContext::deviceSupportsOpenGLESExtension("GL_EXT_texture_rg"));
    EXPECT_TRUE(PixContext::deviceSupportsRedTextures());
    EXPECT_TRUE(PixContext::deviceSupportsFramebufferReads());
    EXPECT_FALSE(PixContext::deviceSupportsOpenGLESExtension("GL_EXT_texture"));
    EXPECT_FALSE(PixContext::deviceSupportsOpenGLESExtension(""));
    EXPECT_GE(PixContext::maximumTextureUnitsForThisDevice(), 8);
}

TEST(PixContext, ThePairOfShaderTextsIsTheKeyOfTheProgramCache) {
    runSynchronouslyOnContextQueue([] {
        PixContext& context = PixContext::sharedImageProcessingContext();
        auto first =
            context.programForVertexShaderString(PixDefaultVertexShader, PixPassthroughFragmentShader);
        auto again =
            context.programForVertexShaderString(PixDefaultVertexShader, PixPassthroughFragmentShader);
        auto other = context.programForVertexShaderString(
            PixDefaultVertexShader, std::string(PixPassthroughFragmentShader) + "\n// another program\n");
        EXPECT_EQ(first, again);
        EXPECT_NE(first, other);
        EXPECT_FALSE(other->initialized()); // made on a miss, not linked
    });
}

} // namespace
} // namespace zm
