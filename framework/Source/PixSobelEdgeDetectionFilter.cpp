#include "framework/Source/PixSobelEdgeDetectionFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/Pix3x3TextureSamplingFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixGrayscaleFilter.h"

namespace zm {

const char* const PixSobelEdgeDetectionFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;

varying vec2 topTextureCoordinate;
varying vec2 topLeftTextureCoordinate;
varying vec2 topRightTextureCoordinate;

varying vec2 bottomTextureCoordinate;
varying vec2 bottomLeftTextureCoordinate;
varying vec2 bottomRightTextureCoordinate;

uniform sampler2D inputImageTexture;
uniform float edgeStrength;

void main()
{
    float bottomLeftIntensity = texture2D(inputImageTexture, bottomLeftTextureCoordinate).r;
    float topRightIntensity = texture2D(inputImageTexture, topRightTextureCoordinate).r;
    float topLeftIntensity = texture2D(inputImageTexture, topLeftTextureCoordinate).r;
    float bottomRightIntensity = texture2D(inputImageTexture, bottomRightTextureCoordinate).r;
    float leftIntensity = texture2D(inputImageTexture, leftTextureCoordinate).r;
    float rightIntensity = texture2D(inputImageTexture, rightTextureCoordinate).r;
    float bottomIntensity = texture2D(inputImageTexture, bottomTextureCoordinate).r;
    float topIntensity = texture2D(inputImageTexture, topTextureCoordinate).r;
    float h = -topLeftIntensity - 2.0 * topIntensity - topRightIntensity + bottomLeftIntensity + 2.0 * bottomIntensity + bottomRightIntensity;
    float v = -bottomLeftIntensity - 2.0 * leftIntensity - topLeftIntensity + bottomRightIntensity + 2.0 * rightIntensity + topRightIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;

    gl_FragColor = vec4(vec3(mag), 1.0);
}
)";

std::shared_ptr<PixSobelEdgeDetectionFilter> PixSobelEdgeDetectionFilter::create() {
    return std::shared_ptr<PixSobelEdgeDetectionFilter>(new PixSobelEdgeDetectionFilter);
}

PixSobelEdgeDetectionFilter::PixSobelEdgeDetectionFilter(const std::string& gradientFragmentShaderString)
    : PixTwoPassFilter(PixDefaultVertexShader, PixGrayscaleFragmentShader, Pix3x3SamplingVertexShader,
                       gradientFragmentShaderString) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_texelSampling.locateUniforms(*m_secondFilterProgram);
    });
    m_edgeStrengthUniform = secondProgramUniformLocation("edgeStrength");
    setEdgeStrength(1.0f);
}

GLint PixSobelEdgeDetectionFilter::secondProgramUniformLocation(const std::string& uniformName) const {
    GLint location = -1;
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        location = m_secondFilterProgram->uniformIndex(uniformName);
    });
    return location;
}

void PixSobelEdgeDetectionFilter::setEdgeStrength(float newValue) {
    m_edgeStrength = newValue;
    setFloat(newValue, m_edgeStrengthUniform, m_secondFilterProgram);
}

void PixSobelEdgeDetectionFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixTwoPassFilter::setUniformsForProgramAtIndex(programIndex);
    if (programIndex == 0)
        return;
    // The gradient pass reads the upright luminance picture of the first pass, except when that pass
    // is skipped for a luminance-only input: it then samples the input itself, turned as its source
    // asks, and the steps follow the turn. The input may change kind between frames, so the steps are
    // settled at each draw.
    const PixInputRotation sampledRotation =
        m_currentlyReceivingMonochromeInput ? m_inputRotation : PixInputRotationNone;
    m_texelSampling.setupForSize(sizeOfFBO(), sampledRotation);
    m_texelSampling.writeUniforms();
}

} // namespace zm
