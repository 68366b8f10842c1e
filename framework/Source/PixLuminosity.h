#pragma once

#include "framework/Source/PixAverageColor.h"

namespace zm {

// Averages the luminance of every frame (weights 0.2125, 0.7154, 0.0721) the way PixAverageColor averages
// its colour: the first stage takes the luminance of its samples, the later ones average it on.
class PixLuminosity : public PixAverageColor {
public:
    // The luminance, 0 to 1 (not a number for a frame under 8 pixels either way), and the frame's time.
    // Called on the processing queue.
    using LuminosityProcessingFinishedBlock = std::function<void(float luminosity, PixFrameTime frameTime)>;

    static std::shared_ptr<PixLuminosity> create();

    void setLuminosityProcessingFinishedBlock(LuminosityProcessingFinishedBlock block);

protected:
    PixLuminosity();

    void reportAverage(const std::array<std::uint64_t, 4>& sums, std::size_t pixelCount,
                       PixFrameTime frameTime) override;

private:
    LuminosityProcessingFinishedBlock m_luminosityProcessingFinishedBlock;
};

} // namespace zm
