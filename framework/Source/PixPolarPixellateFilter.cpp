#include "framework/Source/PixPolarPixellateFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

const char* const kPolarPixellateFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp vec2 center;
uniform highp vec2 pixelSize;

void main()
{
    highp vec2 normCoord = 2.0 * textureCoordinate - 1.0;
    highp vec2 normCenter = 2.0 * center - 1.0;
    normCoord -= normCenter;
    highp float r = length(normCoord);
    highp float phi = atan(normCoord.y, normCoord.x);
    r = r - mod(r, pixelSize.x) + 0.03;
    phi = phi - mod(phi, pixelSize.y);
    normCoord = vec2(r * cos(phi), r * sin(phi)) + normCenter;
    gl_FragColor = texture2D(inputImageTexture, normCoord / 2.0 + 0.5);
}
)";

} // namespace

std::shared_ptr<PixPolarPixellateFilter> PixPolarPixellateFilter::create() {
    return std::shared_ptr<PixPolarPixellateFilter>(new PixPolarPixellateFilter);
}

PixPolarPixellateFilter::PixPolarPixellateFilter()
    : PixDistortionFilter(kPolarPixellateFragmentShader, {"center", std::nullopt}) {
    m_pixelSizeUniform = uniformLocation("pixelSize");
    setPixelSize({0.05f, 0.05f});
}

core::Size PixPolarPixellateFilter::pixelSize() const {
    core::Size value;
    runSynchronouslyOnContextQueue([&] { value = m_pixelSize; });
    return value;
}

void PixPolarPixellateFilter::setPixelSize(core::Size newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_pixelSize = newValue;
        setSize(newValue, m_pixelSizeUniform, m_filterProgram);
    });
}

} // namespace zm
