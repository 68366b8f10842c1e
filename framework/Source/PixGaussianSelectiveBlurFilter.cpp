#include "framework/Source/PixGaussianSelectiveBlurFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

const char* const kSelectiveFocusFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

uniform lowp float excludeCircleRadius;
uniform lowp vec2 excludeCirclePoint;
uniform lowp float excludeBlurSize;
uniform highp float aspectRatio;

void main()
{
    lowp vec4 sharpImageColor = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 blurredImageColor = texture2D(inputImageTexture2, textureCoordinate2);

    highp vec2 textureCoordinateToUse =
        vec2(textureCoordinate2.x, (textureCoordinate2.y * aspectRatio + 0.5 - 0.5 * aspectRatio));
    highp float distanceFromCenter = distance(excludeCirclePoint, textureCoordinateToUse);

    gl_FragColor = mix(sharpImageColor, blurredImageColor,
                       smoothstep(excludeCircleRadius - excludeBlurSize, excludeCircleRadius, distanceFromCenter));
}
)";

} // namespace

std::shared_ptr<PixGaussianSelectiveBlurFilter> PixGaussianSelectiveBlurFilter::create() {
    return std::shared_ptr<PixGaussianSelectiveBlurFilter>(new PixGaussianSelectiveBlurFilter);
}

PixGaussianSelectiveBlurFilter::PixGaussianSelectiveBlurFilter()
    : PixMaskedBlurGroup(kSelectiveFocusFragmentShader) {
    setBlurSize(2.0f);
    setExcludeCircleRadius(0.1875f);
    setExcludeCirclePoint({0.5f, 0.5f});
    setExcludeBlurSize(0.09375f);
    m_mixingFilter->setFloat(1.0f, "aspectRatio");
}

void PixGaussianSelectiveBlurFilter::setExcludeCircleRadius(float newValue) {
    m_excludeCircleRadius = newValue;
    m_mixingFilter->setFloat(newValue, "excludeCircleRadius");
}

void PixGaussianSelectiveBlurFilter::setExcludeCirclePoint(core::Point newValue) {
    m_excludeCirclePoint = newValue;
    m_mixingFilter->setPoint(newValue, "excludeCirclePoint");
}

void PixGaussianSelectiveBlurFilter::setExcludeBlurSize(float newValue) {
    m_excludeBlurSize = newValue;
    m_mixingFilter->setFloat(newValue, "excludeBlurSize");
}

float PixGaussianSelectiveBlurFilter::aspectRatio() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_aspectRatio; });
    return value;
}

void PixGaussianSelectiveBlurFilter::setAspectRatio(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_hasOverriddenAspectRatio = true;
        m_aspectRatio = newValue;
        m_mixingFilter->setFloat(newValue, "aspectRatio");
    });
}

void PixGaussianSelectiveBlurFilter::setInputSize(core::Size newSize, int textureIndex) {
    const core::Size oldSize = m_inputSize;
    PixMaskedBlurGroup::setInputSize(newSize, textureIndex);
    m_inputSize = newSize;
    if (oldSize != newSize && !m_hasOverriddenAspectRatio && newSize.width > 0 && newSize.height > 0) {
        m_aspectRatio = newSize.width / newSize.height;
        m_mixingFilter->setFloat(m_aspectRatio, "aspectRatio");
    }
}

} // namespace zm
