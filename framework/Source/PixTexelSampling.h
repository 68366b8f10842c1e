#pragma once

#include "platform/core/Geometry.h"
#include "platform/gl/GLES.h"
#include "framework/Source/PixInputRotation.h"

namespace zm {

class GLProgram;

// The step from a pixel to its neighbours that the neighbourhood filters hand their vertex shader, as
// the uniforms "texelWidth" and "texelHeight" (in texture coordinates). It follows the framebuffer's
// size, one pixel each way, until either step is set by hand; from then on both stay as they are.
//
// The steps are written before each draw, so filters sharing one program each sample with their own.
// The accessors may be called from any thread (they wait for the processing queue); the others run on it.
class PixTexelSampling {
public:
    // Where the program takes the two steps.
    void locateUniforms(const GLProgram& program);
    // One pixel of the framebuffer, unless set by hand. A quarter-turned input runs the image's width
    // along the texture's height, so the uniforms then take each other's value. A step set by hand goes
    // to its own uniform as it is.
    void setupForSize(core::Size framebufferSize, PixInputRotation inputRotation);
    // Writes the steps into the current program.
    void writeUniforms() const;

    float texelWidth() const;
    float texelHeight() const;
    void setTexelWidth(float newValue);
    void setTexelHeight(float newValue);

private:
    GLint m_texelWidthUniform = -1;
    GLint m_texelHeightUniform = -1;
    float m_texelWidth = 0;
    float m_texelHeight = 0;
    // What the uniforms get: the steps, exchanged for a quarter-turned input when computed.
    float m_texelWidthUniformValue = 0;
    float m_texelHeightUniformValue = 0;
    bool m_hasOverriddenImageSizeFactor = false;
};

} // namespace zm
