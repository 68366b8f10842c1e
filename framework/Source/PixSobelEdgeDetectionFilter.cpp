#include "framework/Source/PixSobelEdgeDetectionFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/Pix3x3TextureSamplingFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixGrayscaleFilter.h"

namespace zm {

const std::string PixSobelEdgeDetectionFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float edgeStrength;
)", R"(
    float h = -topLeftIntensity - 2.0 * topIntensity - topRightIntensity + bottomLeftIntensity + 2.0 * bottomIntensity + bottomRightIntensity;
    float v = -bottomLeftIntensity - 2.0 * leftIntensity - topLeftIntensity + bottomRightIntensity + 2.0 * rightIntensity + topRightIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;

    gl_FragColor = vec4(vec3(mag), 1.0);
)");

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
