#include "framework/Source/PixSolidColorGenerator.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

// Without a source the input texture is none, which samples as opaque black.
const char* const kSolidColorFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp vec4 color;
uniform lowp float useExistingAlpha;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(color.rgb, max(textureColor.a, 1.0 - useExistingAlpha));
}
)";

} // namespace

std::shared_ptr<PixSolidColorGenerator> PixSolidColorGenerator::create() {
    return std::shared_ptr<PixSolidColorGenerator>(new PixSolidColorGenerator);
}

PixSolidColorGenerator::PixSolidColorGenerator()
    : PixFilter(PixDefaultVertexShader, kSolidColorFragmentShader) {
    m_colorUniform = uniformLocation("color");
    m_useExistingAlphaUniform = uniformLocation("useExistingAlpha");
    setColorRed(0, 0, 0.5f, 1);
    setUseExistingAlpha(false);
}

GPUVector4 PixSolidColorGenerator::color() const {
    GPUVector4 value{};
    runSynchronouslyOnContextQueue([&] { value = m_color; });
    return value;
}

void PixSolidColorGenerator::setColor(GPUVector4 newValue) {
    setColorRed(newValue.one, newValue.two, newValue.three, newValue.four);
}

void PixSolidColorGenerator::setColorRed(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    runSynchronouslyOnContextQueue([&] {
        m_color = {red, green, blue, alpha};
        setVec4(m_color, m_colorUniform, m_filterProgram);
    });
}

bool PixSolidColorGenerator::useExistingAlpha() const {
    bool value = false;
    runSynchronouslyOnContextQueue([&] { value = m_useExistingAlpha; });
    return value;
}

void PixSolidColorGenerator::setUseExistingAlpha(bool newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_useExistingAlpha = newValue;
        setFloat(newValue ? 1.0f : 0.0f, m_useExistingAlphaUniform, m_filterProgram);
    });
}

void PixSolidColorGenerator::forceProcessingAtSize(core::Size frameSize) {
    PixFilter::forceProcessingAtSize(frameSize);
    runSynchronouslyOnContextQueue([&] {
        if (PixPixelsWide(m_inputTextureSize) >= 1 && PixPixelsHigh(m_inputTextureSize) >= 1)
            newFrameReadyAtTime(PixFrameTime::indefiniteTime(), 0);
    });
}

void PixSolidColorGenerator::addTarget(const std::shared_ptr<PixInput>& newTarget, int textureLocation) {
    PixFilter::addTarget(newTarget, textureLocation);
    runSynchronouslyOnContextQueue([&] {
        if (!newTarget || PixPixelsWide(m_inputTextureSize) < 1 || PixPixelsHigh(m_inputTextureSize) < 1)
            return;
        newTarget->setInputSize(m_inputTextureSize, textureLocation);
        newTarget->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), textureLocation);
    });
}

} // namespace zm
