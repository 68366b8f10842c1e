#pragma once

#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTexelSampling.h"

#include <string>
#include <string_view>

namespace zm {

// Hands the fragment shader the pixel and its eight neighbours, "texelWidth" and "texelHeight" apart:
// "textureCoordinate", "leftTextureCoordinate", "rightTextureCoordinate", "topTextureCoordinate",
// "topLeftTextureCoordinate", "topRightTextureCoordinate", "bottomTextureCoordinate",
// "bottomLeftTextureCoordinate" and "bottomRightTextureCoordinate".
extern const char* const Pix3x3SamplingVertexShader;

// What a fragment shader over Pix3x3SamplingVertexShader takes: the nine coordinates it hands on and
// the input "inputImageTexture".
extern const char* const Pix3x3SamplingFragmentInputs;

// A fragment shader over Pix3x3SamplingVertexShader: its inputs, the shader's own `declarations`, and a main() that reads the eight neighbours'
// intensities (their red channel) into leftIntensity, rightIntensity, topIntensity, topLeftIntensity,
// topRightIntensity, bottomIntensity, bottomLeftIntensity and bottomRightIntensity before `body`.
// The compiler drops the reads a body does not use.
std::string pix3x3NeighbourhoodShader(std::string_view declarations, std::string_view body);

// The base of the filters that look at each pixel's 3 x 3 neighbourhood. The neighbours are one pixel
// of the framebuffer away, whatever its size, until a step is set by hand.
class Pix3x3TextureSamplingFilter : public PixFilter {
public:
    // A filter of the fragment shader over the neighbourhood vertex shader.
    static std::shared_ptr<Pix3x3TextureSamplingFilter> create(const std::string& fragmentShaderString);

    // The step to a neighbour, in texture coordinates. Setting either keeps both from then on.
    float texelWidth() const { return m_texelSampling.texelWidth(); }
    void setTexelWidth(float newValue) { m_texelSampling.setTexelWidth(newValue); }
    float texelHeight() const { return m_texelSampling.texelHeight(); }
    void setTexelHeight(float newValue) { m_texelSampling.setTexelHeight(newValue); }

protected:
    Pix3x3TextureSamplingFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString);

    void setupFilterForSize(core::Size filterFrameSize) override;
    void setUniformsForProgramAtIndex(unsigned programIndex) override;

private:
    PixTexelSampling m_texelSampling;
};

} // namespace zm
