#include "framework/Source/PixContext.h"
#include "framework/Source/PixRawDataInput.h"
#include "framework/Source/PixRawDataOutput.h"
#include "framework/Source/PixTestSupport.h"

#include <future>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixRecordingTarget;

TEST(PixRawDataInput, UploadsPackedBytesOfEachFormatInTurn) {
    // 3 x 2 pixels: red, green, blue over white, black, grey. RGB rows are 9 bytes long, not whole words.
    struct Case {
        const char* name;
        GLenum format;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"RGB", GL_RGB, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128}},
        {"RGBA",
         GL_RGBA,
         {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 255}},
        {"BGRA",
         GL_BGRA_EXT,
         {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 255}},
    };
    const GPUByteColorVector expected[2][3] = {
        {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}},
        {{255, 255, 255, 255}, {0, 0, 0, 255}, {128, 128, 128, 255}},
    };
    // One input takes each layout in turn, as a caller changing its format between frames would.
    auto input = PixRawDataInput::create(cases[0].bytes.data(), {3, 2}, cases[0].format);
    auto output = PixRawDataOutput::create({3, 2}, false);
    input->addTarget(output);
    for (const Case& c : cases) {
        input->setPixelFormat(c.format);
        input->updateDataFromBytes(c.bytes.data(), {3, 2});
        ASSERT_TRUE(input->processData());
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(output->colorAtLocation({float(column), float(2 - row)}), expected[row][column])
                    << c.name << " at " << column << ", " << row;
    }
}

TEST(PixRawDataInput, DropsAFrameAskedForWhileOneIsOnItsWayAndSendsNoTime) {
    const std::uint8_t bytes[4] = {1, 2, 3, 255};
    auto input = PixRawDataInput::create(bytes, {1, 1});
    auto target = std::make_shared<PixRecordingTarget>();
    input->addTarget(target);
    std::promise<void> release;
    runAsynchronouslyOnContextQueue([held = release.get_future().share()] { held.wait(); });

    EXPECT_TRUE(input->processData());
    EXPECT_FALSE(input->processData());
    release.set_value();

    std::vector<std::string> calls;
    runSynchronouslyOnContextQueue([&] { calls = target->calls; });
    EXPECT_EQ(calls, (std::vector<std::string>{"setInputTexture(texture, 0)", "setTextureDelegate(source, 0)",
                                               "setInputSize(1x1, 0)", "newFrameReadyAtTime(invalid, 0)"}));
    EXPECT_TRUE(input->processData()); // the way is free again
}

} // namespace
} // namespace zm
