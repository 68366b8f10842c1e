#pragma once

#include "framework/Source/PixTexelSampling.h"
#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Hands the fragment shader each pixel and its four direct neighbours in both inputs, "texelWidth" and
// "texelHeight" apart: "textureCoordinate", "leftTextureCoordinate", "rightTextureCoordinate",
// "topTextureCoordinate", "bottomTextureCoordinate", and the same names ending in "2".
extern const char* const PixTwoInputCrossSamplingVertexShader;

// The base of the two-input filters that look at each pixel's direct neighbours in both pictures. The
// neighbours are one pixel of the framebuffer away until a step is set by hand.
class PixTwoInputCrossTextureSamplingFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixTwoInputCrossTextureSamplingFilter> create(const std::string& fragmentShaderString);

    // The step to a neighbour, in texture coordinates. Setting either keeps both from then on.
    float texelWidth() const { return m_texelSampling.texelWidth(); }
    void setTexelWidth(float newValue) { m_texelSampling.setTexelWidth(newValue); }
    float texelHeight() const { return m_texelSampling.texelHeight(); }
    void setTexelHeight(float newValue) { m_texelSampling.setTexelHeight(newValue); }

protected:
    explicit PixTwoInputCrossTextureSamplingFilter(const std::string& fragmentShaderString);

    void setupFilterForSize(core::Size filterFrameSize) override;
    void setUniformsForProgramAtIndex(unsigned programIndex) override;

private:
    PixTexelSampling m_texelSampling;
};

} // namespace zm
