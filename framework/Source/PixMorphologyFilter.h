#pragma once

#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

#include <string>

namespace zm {

// The base of dilation and erosion: the largest or smallest value over a square of 2 x radius + 1
// pixels a side, found as two passes over a line each. Radius 0 works as 1, radii above 4 as 4.
class PixMorphologyFilter : public PixTwoPassTextureSamplingFilter {
public:
    enum class Extreme { Largest, Smallest };
    enum class Channels {
        Luminance, // the red channel, as (v, v, v, 1)
        All,       // each of the four channels on its own
    };

    unsigned radius() const { return m_radius; }

    // The shaders of a radius: coordinates at -radius to +radius steps, and the extreme over them.
    static unsigned usableRadius(unsigned radius);
    static std::string vertexShader(unsigned radius);
    static std::string fragmentShader(unsigned radius, Extreme extreme, Channels channels);

protected:
    PixMorphologyFilter(unsigned radius, Extreme extreme, Channels channels);

private:
    const unsigned m_radius;
};

// Grows the light parts of a luminance picture (or mask).
class PixDilationFilter : public PixMorphologyFilter {
public:
    static std::shared_ptr<PixDilationFilter> create(unsigned radius = 1);

protected:
    explicit PixDilationFilter(unsigned radius);
};

// Grows the dark parts of a luminance picture (or mask).
class PixErosionFilter : public PixMorphologyFilter {
public:
    static std::shared_ptr<PixErosionFilter> create(unsigned radius = 1);

protected:
    explicit PixErosionFilter(unsigned radius);
};

// Dilation of each colour channel and of alpha.
class PixRGBDilationFilter : public PixMorphologyFilter {
public:
    static std::shared_ptr<PixRGBDilationFilter> create(unsigned radius = 1);

protected:
    explicit PixRGBDilationFilter(unsigned radius);
};

// Erosion of each colour channel and of alpha.
class PixRGBErosionFilter : public PixMorphologyFilter {
public:
    static std::shared_ptr<PixRGBErosionFilter> create(unsigned radius = 1);

protected:
    explicit PixRGBErosionFilter(unsigned radius);
};

} // namespace zm
