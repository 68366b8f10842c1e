#pragma once

// Helpers shared by the framework's tests (defined in PixTestSupport_test.cpp; not part of the library).

#include "framework/Source/PixFilterNode.h"
#include "framework/Source/PixOutput.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace gfx {
class Image;
}

namespace zm::pixtest {

using Rgba = std::array<std::uint8_t, 4>;

// A still source for tests: straight RGBA pixels, top row first, uploaded as they are and pushed to
// every target as one frame, the way a still image travels through the graph.
class PixTestImageSource : public PixOutput {
public:
    static std::shared_ptr<PixTestImageSource> create(int width, int height, const std::vector<Rgba>& pixels);
    static std::shared_ptr<PixTestImageSource> filled(int width, int height, Rgba colour);

    // Queues one frame to every target and returns at once.
    void push();
    // The same with a time, as a movie's or a camera's frame travels.
    void push(PixFrameTime frameTime);
    // New pixels of the same size, for the next frame.
    void replacePixels(const std::vector<Rgba>& pixels);

    // How often targets said they were done with the texture (on the processing queue).
    int releasesHeard = 0;
    void textureNoLongerNeededForTarget(PixInput* target) override;

private:
    PixTestImageSource(int width, int height, const std::vector<Rgba>& pixels);

    core::Size m_size;
};

// A target that writes down every call it gets, for checking the order of the graph's calls.
class PixRecordingTarget : public PixInput {
public:
    std::vector<std::string> calls; // read after the graph's work is done

    PixTextureDelegate* textureDelegate = nullptr;
    bool wantsMonochrome = true;

    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint texture, int textureIndex) override;
    void setTextureDelegate(PixTextureDelegate* delegate, int textureIndex) override;
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation rotation, int textureIndex) override;
    core::Size maximumOutputSize() const override { return {}; }
    void endProcessing() override;
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return true; }
    void conserveMemoryForNextFrame() override;
    bool wantsMonochromeInput() const override { return wantsMonochrome; }
    void setCurrentlyReceivingMonochromeInput(bool newValue) override;
};

// The filter's (or group's) picture of the pixels, pushed once from a test source and read back.
gl::RgbaImage filtered(const std::shared_ptr<PixFilterNode>& filter, int width, int height,
                       const std::vector<Rgba>& pixels);

// Makes a fresh filter for a table of cases.
using MakeFilter = std::function<std::shared_ptr<PixFilterNode>()>;
// A filter of the class, set up by the function.
template <class Filter> MakeFilter made(std::function<void(Filter&)> setUp = {}) {
    return [setUp] {
        auto filter = Filter::create();
        if (setUp)
            setUp(*filter);
        return std::static_pointer_cast<PixFilterNode>(filter);
    };
}

// An image of scale `scale` from straight RGBA pixels, top row first.
std::shared_ptr<const gfx::Image> makeImage(int width, int height, const std::vector<Rgba>& pixels,
                                            float scale = 1);
// The pixel at (x, y) from the top-left, as stored: colours multiplied by alpha, in RGBA order.
Rgba premultipliedPixel(const gfx::Image& image, int x, int y);

// A test card of the size: eight colour bars (red, green, blue, yellow, cyan, magenta, white, black)
// over the top half, a grey ramp from black to white below them, and under it a strip of hues at full
// strength, the right end fading to transparent. The same pixels every time.
std::vector<Rgba> testCard(int width, int height);

// Pixels as a read-back picture holds them.
gl::RgbaImage rgbaImage(int width, int height, const std::vector<Rgba>& pixels);

// Pictures side by side under their names, written as one PNG (screenshots in the temporary folder) to
// look at by eye.
class PixContactSheet {
public:
    void add(const std::string& name, const gl::RgbaImage& tile);
    // Returns where the sheet went.
    std::string write(const std::string& fileName) const;

private:
    std::vector<std::pair<std::string, gl::RgbaImage>> m_tiles;
};

// True when each channel of every pixel is within the tolerance of the expected colour.
::testing::AssertionResult pixelsNear(const gl::RgbaImage& image, const std::vector<Rgba>& expected,
                                      int tolerance = 2);

} // namespace zm::pixtest
