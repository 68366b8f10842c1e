#include "framework/Source/PixTiltShiftFilter.h"

namespace zm {

namespace {

const char* const kTiltShiftFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

uniform highp float topFocusLevel;
uniform highp float bottomFocusLevel;
uniform highp float focusFallOffRate;

void main()
{
    lowp vec4 sharpImageColor = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 blurredImageColor = texture2D(inputImageTexture2, textureCoordinate2);

    lowp float blurIntensity = 1.0 - smoothstep(topFocusLevel - focusFallOffRate, topFocusLevel, textureCoordinate2.y);
    blurIntensity += smoothstep(bottomFocusLevel, bottomFocusLevel + focusFallOffRate, textureCoordinate2.y);

    gl_FragColor = mix(sharpImageColor, blurredImageColor, blurIntensity);
}
)";

} // namespace

std::shared_ptr<PixTiltShiftFilter> PixTiltShiftFilter::create() {
    return std::shared_ptr<PixTiltShiftFilter>(new PixTiltShiftFilter);
}

PixTiltShiftFilter::PixTiltShiftFilter()
    : PixMaskedBlurGroup(kTiltShiftFragmentShader) {
    setTopFocusLevel(0.4f);
    setBottomFocusLevel(0.6f);
    setFocusFallOffRate(0.2f);
    setBlurSize(2.0f);
}

void PixTiltShiftFilter::setTopFocusLevel(float newValue) {
    m_topFocusLevel = newValue;
    m_mixingFilter->setFloat(newValue, "topFocusLevel");
}

void PixTiltShiftFilter::setBottomFocusLevel(float newValue) {
    m_bottomFocusLevel = newValue;
    m_mixingFilter->setFloat(newValue, "bottomFocusLevel");
}

void PixTiltShiftFilter::setFocusFallOffRate(float newValue) {
    m_focusFallOffRate = newValue;
    m_mixingFilter->setFloat(newValue, "focusFallOffRate");
}

} // namespace zm
