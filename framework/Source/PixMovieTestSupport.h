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

// True when each of red, green and blue is within the tolerance.
bool colourNear(Rgba actual, Rgba expected, int tolerance);

} // namespace zm::pixtest
