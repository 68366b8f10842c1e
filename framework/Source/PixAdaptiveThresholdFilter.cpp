#include "framework/Source/PixAdaptiveThresholdFilter.h"

namespace zm {

namespace {

// Slot 0 the local mean, slot 1 the luminance.
const char* const kAdaptiveThresholdFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

void main()
{
    highp float blurredInput = texture2D(inputImageTexture, textureCoordinate).r;
    highp float localLuminance = texture2D(inputImageTexture2, textureCoordinate2).r;
    highp float thresholdResult = step(blurredInput - 0.05, localLuminance);

    gl_FragColor = vec4(vec3(thresholdResult), 1.0);
}
)";

} // namespace

std::shared_ptr<PixAdaptiveThresholdFilter> PixAdaptiveThresholdFilter::create() {
    return std::shared_ptr<PixAdaptiveThresholdFilter>(new PixAdaptiveThresholdFilter);
}

PixAdaptiveThresholdFilter::PixAdaptiveThresholdFilter()
    : m_luminanceFilter(PixGrayscaleFilter::create())
    , m_boxBlurFilter(PixBoxBlurFilter::create())
    , m_adaptiveThresholdFilter(PixTwoInputFilter::create(kAdaptiveThresholdFragmentShader)) {
    addFilter(m_luminanceFilter);
    addFilter(m_boxBlurFilter);
    addFilter(m_adaptiveThresholdFilter);
    // The blur is attached first so that the mean takes slot 0 and the luminance slot 1.
    m_luminanceFilter->addTarget(m_boxBlurFilter);
    m_boxBlurFilter->addTarget(m_adaptiveThresholdFilter);
    m_luminanceFilter->addTarget(m_adaptiveThresholdFilter);
    setInitialFilters({m_luminanceFilter});
    setTerminalFilter(m_adaptiveThresholdFilter);
    setBlurSize(1.0f);
}

} // namespace zm
