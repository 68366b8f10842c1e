#pragma once

// Movies for the framework's tests: read back what a writer made (defined in
// PixMovieTestSupport_test.cpp; not part of the library).

#include "framework/Source/PixFrameTime.h"
#include "framework/Source/PixInput.h"
#include "framework/Source/PixRenderTarget.h"
#include "framework/Source/PixTextureCopy.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/core/Geometry.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <memory>
#include <string>
#include <vector>

namespace gfx {
class Image;
}

namespace media {
class PixelBuffer;
}

namespace zm::pixtest {

struct MovieFrame {
    PixFrameTime time;
    std::shared_ptr<media::PixelBuffer> picture; // BGRA

    // The pixel at (x, y) from the top-left, as red, green, blue, alpha.
    Rgba pixel(int x, int y) const;
};

struct MovieContents {
    bool opened = false;
    std::string videoCodec; // FFmpeg's short name; empty without a video track
    core::Size videoSize;
    std::vector<MovieFrame> frames;
    std::string audioCodec;
    int audioSampleRate = 0;
    double audioSeconds = 0; // of decoded sound
};

// A target that notes each frame: its time, its size, the colour in the middle of the texture it got
// (drawn and read back on the processing queue), whether it came as luminance, and how often the stream
// ended.
class FrameLog : public PixInput {
public:
    struct Frame {
        PixFrameTime time;
        core::Size size;
        Rgba centre;
        bool monochrome;
    };

    ~FrameLog() override;

    bool wantsMonochrome = false;
    // Called on the processing queue after each frame with the number of frames so far.
    std::function<void(int frameCount)> onFrame;

    std::vector<Frame> frames() const;
    int endCount() const { return m_endCount.load(); }
    // Waits (in real time, up to five seconds) until `count` frames have come.
    bool waitForFrames(std::size_t count) const;

    void newFrameReadyAtTime(PixFrameTime frameTime, int) override;
    void setInputTexture(GLuint texture, int) override { m_texture = texture; }
    void setTextureDelegate(PixTextureDelegate*, int) override {}
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size size, int) override { m_size = size; }
    void setInputRotation(PixInputRotation, int) override {}
    core::Size maximumOutputSize() const override { return {}; }
    void endProcessing() override { ++m_endCount; }
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return true; }
    void conserveMemoryForNextFrame() override {}
    bool wantsMonochromeInput() const override { return wantsMonochrome; }
    void setCurrentlyReceivingMonochromeInput(bool monochrome) override { m_monochrome = monochrome; }

private:
    mutable std::mutex m_mutex;
    std::vector<Frame> m_frames; // guarded by m_mutex
    std::atomic<int> m_endCount{0};
    GLuint m_texture = 0;
    core::Size m_size;
    bool m_monochrome = false;
    std::unique_ptr<PixTextureCopy> m_copy;
    std::unique_ptr<PixRenderTarget> m_target;
};

// Every frame and sound sample of the movie, decoded with FFmpeg.
MovieContents readMovie(const std::filesystem::path& path);

// What writeMovie makes: pictures (straight RGBA, top row first, all of one size), each shown at its
// time, encoded as H.264 with the YCbCr matrix; and, when toneSeconds is above 0, a 440 Hz tone of that
// length at 48000 Hz, mono, as AAC.
struct MovieRecipe {
    int width = 64;
    int height = 48;
    std::vector<std::vector<Rgba>> pictures;
    std::vector<PixFrameTime> times; // empty: one picture every 1/30 s from 0
    bool bt709 = false;
    double toneSeconds = 0;
};
// Writes the movie with the media layer's writer; false when that fails.
bool writeMovie(const std::filesystem::path& path, const MovieRecipe& recipe);

// A picture of one colour.
std::vector<Rgba> solidPicture(int width, int height, Rgba colour);

// Keeps the picture for people to look at, as NAME.png among the tests' screenshots.
void keepPicture(const gfx::Image& picture, const std::string& name);

// True when each of red, green and blue is within the tolerance.
bool colourNear(Rgba actual, Rgba expected, int tolerance);

} // namespace zm::pixtest
