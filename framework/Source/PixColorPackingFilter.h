#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Four samples around each pixel, "texelWidth" and "texelHeight" away each way:
// "upperLeftInputTextureCoordinate", "upperRightInputTextureCoordinate",
// "lowerLeftInputTextureCoordinate" and "lowerRightInputTextureCoordinate".
extern const char* const PixCornerSamplingVertexShader;

// Packs four neighbouring luminance values into one pixel, halving the picture each way: each output
// pixel holds the red values of the upper left, upper right, lower left and lower right samples around
// it (half an input pixel away each way) in red, green, blue and alpha.
class PixColorPackingFilter : public PixFilter {
public:
    static std::shared_ptr<PixColorPackingFilter> create();

    // Half the input each way (the largest output size when one is set and no wider than the input).
    core::Size sizeOfFBO() const override;
    core::Size outputFrameSize() const override;

protected:
    PixColorPackingFilter();

    void setupFilterForSize(core::Size filterFrameSize) override;

private:
    GLint m_texelWidthUniform = -1;
    GLint m_texelHeightUniform = -1;
};

} // namespace zm
