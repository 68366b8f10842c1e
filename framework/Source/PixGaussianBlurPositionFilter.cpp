#include "framework/Source/PixGaussianBlurPositionFilter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"

namespace zm {

namespace {

const std::string kPositionBlurFragmentShader = R"(
uniform sampler2D inputImageTexture;
uniform highp float aspectRatio;
uniform lowp vec2 blurCenter;
uniform highp float blurRadius;

varying highp vec2 textureCoordinate;
varying highp vec2 blurCoordinates[9];

void main()
{
    highp vec2 textureCoordinateToUse =
        vec2(textureCoordinate.x, (textureCoordinate.y * aspectRatio + 0.5 - 0.5 * aspectRatio));
    highp float distanceFromCenter = distance(blurCenter, textureCoordinateToUse);

    if (distanceFromCenter < blurRadius) {
)" + std::string(PixGaussianBlurTaps) + R"(
        gl_FragColor = sum;
    } else {
        gl_FragColor = texture2D(inputImageTexture, textureCoordinate);
    }
}
)";

} // namespace

std::shared_ptr<PixGaussianBlurPositionFilter> PixGaussianBlurPositionFilter::create() {
    return std::shared_ptr<PixGaussianBlurPositionFilter>(new PixGaussianBlurPositionFilter);
}

PixGaussianBlurPositionFilter::PixGaussianBlurPositionFilter()
    : PixSeparableBlurFilter(PixGaussianBlurVertexShader, kPositionBlurFragmentShader) {
    // Both passes run one program, so the values reach both.
    m_blurCenterUniform = uniformLocation("blurCenter");
    m_blurRadiusUniform = uniformLocation("blurRadius");
    m_aspectRatioUniform = uniformLocation("aspectRatio");
    setBlurRadius(1.0f);
    setBlurCenter({0.5f, 0.5f});
    setAspectRatio(1.0f);
}

core::Point PixGaussianBlurPositionFilter::blurCenter() const {
    core::Point value;
    runSynchronouslyOnContextQueue([&] { value = m_blurCenter; });
    return value;
}

void PixGaussianBlurPositionFilter::setBlurCenter(core::Point newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurCenter = newValue;
        setPoint(rotatedPoint(newValue, m_inputRotation), m_blurCenterUniform, m_filterProgram);
    });
}

float PixGaussianBlurPositionFilter::blurRadius() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_blurRadius; });
    return value;
}

void PixGaussianBlurPositionFilter::setBlurRadius(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_blurRadius = newValue;
        setFloat(newValue, m_blurRadiusUniform, m_filterProgram);
    });
}

float PixGaussianBlurPositionFilter::aspectRatio() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_aspectRatio; });
    return value;
}

void PixGaussianBlurPositionFilter::setAspectRatio(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_aspectRatio = newValue;
        setFloat(newValue, m_aspectRatioUniform, m_filterProgram);
    });
}

void PixGaussianBlurPositionFilter::adjustAspectRatio() {
    const core::Size size = m_inputTextureSize;
    if (size.width <= 0 || size.height <= 0)
        return;
    setAspectRatio(PixRotationSwapsWidthAndHeight(m_inputRotation) ? size.width / size.height
                                                                   : size.height / size.width);
}

void PixGaussianBlurPositionFilter::setInputSize(core::Size newSize, int textureIndex) {
    const core::Size oldSize = m_inputTextureSize;
    PixSeparableBlurFilter::setInputSize(newSize, textureIndex);
    if (m_inputTextureSize != oldSize)
        adjustAspectRatio();
}

void PixGaussianBlurPositionFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    PixSeparableBlurFilter::setInputRotation(newInputRotation, textureIndex);
    setBlurCenter(m_blurCenter);
    adjustAspectRatio();
}

void PixGaussianBlurPositionFilter::forceProcessingAtSize(core::Size frameSize) {
    PixSeparableBlurFilter::forceProcessingAtSize(frameSize);
    runSynchronouslyOnContextQueue([&] { adjustAspectRatio(); });
}

} // namespace zm
