#include "platform/gl/Context.h"
#include "platform/gl/GLES.h"
#include "platform/gl/RgbaImage.h"

#include <thread>

#include <gtest/gtest.h>

namespace gl {
namespace {

std::unique_ptr<Context> makeContext() {
    core::Result<std::unique_ptr<Context>> result = Context::create();
    if (!result) {
        ADD_FAILURE() << result.error().text();
        return nullptr;
    }
    return std::move(result).value();
}

// Clears a fresh width x height framebuffer object to the colour and reads it back.
RgbaImage clearAndRead(int width, int height, float red, float green, float blue, float alpha) {
    GLuint texture = 0;
    GLuint framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, width, height);
    glClearColor(red, green, blue, alpha);
    glClear(GL_COLOR_BUFFER_BIT);
    RgbaImage image = RgbaImage::readFramebuffer(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
    return image;
}

TEST(Context, RendersHeadlessIntoAFramebufferAndReadsBackStraightRgba) {
    auto context = makeContext();
    ASSERT_TRUE(context);
    ASSERT_TRUE(context->makeCurrent());
    EXPECT_TRUE(context->isCurrent());

    const RgbaImage image = clearAndRead(3, 2, 1.0f, 0.0f, 1.0f, 0.0f);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    ASSERT_EQ(image.bytes.size(), 3u * 2u * 4u);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.pixel(x, row), (std::array<std::uint8_t, 4>{255, 0, 255, 0})) << x << "," << row;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    context->releaseCurrent();
    EXPECT_FALSE(context->isCurrent());
}

TEST(Context, IsCurrentOnOneThreadAtATimeAndIsHandedOverByRelease) {
    auto context = makeContext();
    ASSERT_TRUE(context);
    ASSERT_TRUE(context->makeCurrent());

    bool tookItWhileHeld = true;
    std::thread([&] { tookItWhileHeld = context->makeCurrent(); }).join();
    EXPECT_FALSE(tookItWhileHeld);

    context->releaseCurrent();
    bool tookItAfterRelease = false;
    std::thread([&] {
        tookItAfterRelease = context->makeCurrent();
        context->releaseCurrent();
    }).join();
    EXPECT_TRUE(tookItAfterRelease);
}

TEST(Context, ContextsAreIndependentAndOneOutlivesAnother) {
    auto first = makeContext();
    auto second = makeContext();
    ASSERT_TRUE(first && second);

    ASSERT_TRUE(first->makeCurrent());
    ASSERT_TRUE(second->makeCurrent());
    EXPECT_FALSE(first->isCurrent());
    EXPECT_TRUE(second->isCurrent());

    second.reset();
    ASSERT_TRUE(first->makeCurrent());
    EXPECT_EQ(clearAndRead(1, 1, 0.0f, 1.0f, 0.0f, 1.0f).pixel(0, 0),
              (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    first->releaseCurrent();
}

} // namespace
} // namespace gl
