#pragma once

#include "framework/Source/PixSeparableBlurFilter.h"

#include <memory>

namespace gfx {
class Image;
}

namespace zm {

// The still road's blur and brightness in two passes: the Gaussian blur (9 samples `blurSize` texels
// apart, vertically, then horizontally), whose horizontal pass also adds `brightness` to every colour
// channel and writes the pixels as the platform's images hold them (premultiplied, blue first), so that
// reading the image back is a copy. The pixels are those of a Gaussian blur followed by a brightness
// filter and read back as straight colours, each step rounded to 8 bits as theirs are.
class PixBlurRoadFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixBlurRoadFilter> create();

    float brightness() const { return m_brightness; }
    void setBrightness(float newValue);

    // The last frame as an image of scale 1; nullptr before the first frame. Waits for the processing
    // queue, so it sees every frame pushed before it.
    std::shared_ptr<const gfx::Image> imageFromOutput();

private:
    PixBlurRoadFilter();

    GLint m_brightnessUniform = -1;
    float m_brightness = 0;
};

} // namespace zm
