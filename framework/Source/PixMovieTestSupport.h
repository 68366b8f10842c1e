#pragma once

// Movies for the framework's tests: read back what a writer made (defined in
// PixMovieTestSupport_test.cpp; not part of the library).

#include "framework/Source/PixFrameTime.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/core/Geometry.h"

#include <filesystem>
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
