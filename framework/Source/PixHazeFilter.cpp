#include "framework/Source/PixHazeFilter.h"

namespace zm {

const char* const PixHazeFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float hazeDistance;
uniform highp float slope;

void main()
{
    lowp vec4 color = texture2D(inputImageTexture, textureCoordinate);
    highp float d = textureCoordinate.y * slope + hazeDistance;
    gl_FragColor = (color - vec4(d)) / (1.0 - d);
}
)";

std::shared_ptr<PixHazeFilter> PixHazeFilter::create() {
    return std::shared_ptr<PixHazeFilter>(new PixHazeFilter);
}

PixHazeFilter::PixHazeFilter()
    : PixFilter(PixDefaultVertexShader, PixHazeFragmentShader) {
    m_distanceUniform = uniformLocation("hazeDistance");
    m_slopeUniform = uniformLocation("slope");
    setDistance(0.2f);
    setSlope(0.0f);
}

void PixHazeFilter::setDistance(float newValue) {
    m_distance = newValue;
    setFloat(newValue, m_distanceUniform, m_filterProgram);
}

void PixHazeFilter::setSlope(float newValue) {
    m_slope = newValue;
    setFloat(newValue, m_slopeUniform, m_filterProgram);
}

} // namespace zm
