#include "framework/Source/PixBrightnessFilter.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixBrightnessFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float brightness;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(textureColor.rgb + vec3(brightness), textureColor.a);
}
)";

std::shared_ptr<PixBrightnessFilter> PixBrightnessFilter::create() {
    return std::shared_ptr<PixBrightnessFilter>(new PixBrightnessFilter);
}

PixBrightnessFilter::PixBrightnessFilter()
    : PixFilter(PixDefaultVertexShader, PixBrightnessFragmentShader) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_brightnessUniform = m_filterProgram->uniformIndex("brightness");
    });
    setBrightness(0.0f);
}

void PixBrightnessFilter::setBrightness(float newValue) {
    m_brightness = newValue;
    setFloat(newValue, m_brightnessUniform, m_filterProgram);
}

} // namespace zm
