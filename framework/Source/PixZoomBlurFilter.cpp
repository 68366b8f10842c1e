#include "framework/Source/PixZoomBlurFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixZoomBlurFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 blurCenter;
uniform highp float blurSize;

void main()
{
    highp vec2 samplingOffset = 1.0 / 100.0 * (blurCenter - textureCoordinate) * blurSize;

    lowp vec4 fragmentColor = texture2D(inputImageTexture, textureCoordinate) * 0.18;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate + samplingOffset) * 0.15;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate + (2.0 * samplingOffset)) * 0.12;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate + (3.0 * samplingOffset)) * 0.09;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate + (4.0 * samplingOffset)) * 0.05;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate - samplingOffset) * 0.15;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate - (2.0 * samplingOffset)) * 0.12;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate - (3.0 * samplingOffset)) * 0.09;
    fragmentColor += texture2D(inputImageTexture, textureCoordinate - (4.0 * samplingOffset)) * 0.05;

    gl_FragColor = fragmentColor;
}
)";

std::shared_ptr<PixZoomBlurFilter> PixZoomBlurFilter::create() {
    return std::shared_ptr<PixZoomBlurFilter>(new PixZoomBlurFilter);
}

PixZoomBlurFilter::PixZoomBlurFilter()
    : PixFilter(PixDefaultVertexShader, PixZoomBlurFragmentShader) {
    m_blurSizeUniform = uniformLocation("blurSize");
    m_blurCenterUniform = uniformLocation("blurCenter");
    setBlurSize(1.0f);
    setBlurCenter({0.5f, 0.5f});
}

float PixZoomBlurFilter::blurSize() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_blurSize; });
    return value;
}

void PixZoomBlurFilter::setBlurSize(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurSize = newValue;
        setFloat(newValue, m_blurSizeUniform, m_filterProgram);
    });
}

core::Point PixZoomBlurFilter::blurCenter() const {
    core::Point value;
    runSynchronouslyOnContextQueue([&] { value = m_blurCenter; });
    return value;
}

void PixZoomBlurFilter::setBlurCenter(core::Point newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurCenter = newValue;
        setPoint(rotatedPoint(newValue, m_inputRotation), m_blurCenterUniform, m_filterProgram);
    });
}

void PixZoomBlurFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    PixFilter::setInputRotation(newInputRotation, textureIndex);
    setBlurCenter(m_blurCenter);
}

} // namespace zm
