#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixTextureInput.h"
#include "framework/Source/PixTextureOutput.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

// Reads the first pixel of a texture of the framework's context, on the processing queue.
std::array<std::uint8_t, 4> firstPixelOf(GLuint texture) {
    std::array<std::uint8_t, 4> pixel{};
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    glDeleteFramebuffers(1, &framebuffer);
    return pixel;
}

struct Recorder : PixTextureOutputDelegate {
    std::vector<std::array<std::uint8_t, 4>> frames; // on the processing queue

    void newFrameReadyFromTextureOutput(PixTextureOutput& output) override {
        frames.push_back(firstPixelOf(output.texture()));
    }
};

TEST(PixTextureOutput, HandsOnTheTexturesOfACallersTextureThroughAFilter) {
    GLuint texture = 0;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        const std::uint8_t grey[4 * 4] = {100, 100, 100, 255, 100, 100, 100, 255,
                                          100, 100, 100, 255, 100, 100, 100, 255};
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, grey);
    });
    auto input = PixTextureInput::create(texture, {2, 2});
    auto brighter = PixBrightnessFilter::create();
    brighter->setBrightness(0.2f);
    auto output = PixTextureOutput::create();
    Recorder recorder;
    output->setDelegate(&recorder);
    input->addTarget(brighter);
    brighter->addTarget(output);

    input->processTextureWithFrameTime(PixFrameTime::seconds(1));
    input->processTextureWithFrameTime(PixFrameTime::seconds(2));

    runSynchronouslyOnContextQueue([&] {
        ASSERT_EQ(recorder.frames.size(), 2u);
        for (const auto& pixel : recorder.frames) {
            EXPECT_NEAR(pixel[0], 151, 1); // 100 + 0.2 x 255
            EXPECT_EQ(pixel[3], 255);
        }
    });
    EXPECT_NE(output->texture(), 0u);
    EXPECT_NE(output->texture(), texture); // the filter's own texture, not the input's
    output->setDelegate(nullptr);
}

} // namespace
} // namespace zm
