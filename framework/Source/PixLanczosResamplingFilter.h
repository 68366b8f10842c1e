#pragma once

#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

namespace zm {

// Rescales with a Lanczos kernel of nine taps, in two passes: down the columns to the output's height,
// then across the rows to its width. The output size is the filter's own (forceProcessingAtSize);
// the taps are one pixel of the input apart.
class PixLanczosResamplingFilter : public PixTwoPassTextureSamplingFilter {
public:
    static std::shared_ptr<PixLanczosResamplingFilter> create();

    // The input's size as its source gives it, before any turn.
    core::Size originalImageSize() const;
    void setOriginalImageSize(core::Size newValue);

    void setInputSize(core::Size newSize, int textureIndex) override;

protected:
    PixLanczosResamplingFilter();

    void setupFilterForSize(core::Size filterFrameSize) override;
    void setFilterFBO() override;
    void setSecondFilterFBO() override;

private:
    // The first pass's output: the input's width (height when turned) by the output's other side.
    core::Size firstPassSize() const;

    core::Size m_originalImageSize; // on the processing queue
};

} // namespace zm
