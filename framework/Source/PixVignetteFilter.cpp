#include "framework/Source/PixVignetteFilter.h"

namespace zm {

namespace {

const char* const kVignetteFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

uniform highp vec2 vignetteCenter;
uniform highp vec3 vignetteColor;
uniform highp float vignetteStart;
uniform highp float vignetteEnd;

void main()
{
    highp vec4 sourceImageColor = texture2D(inputImageTexture, textureCoordinate);
    highp float d = distance(textureCoordinate, vignetteCenter);
    highp float percent = smoothstep(vignetteStart, vignetteEnd, d);
    gl_FragColor = vec4(mix(sourceImageColor.rgb, vignetteColor, percent), sourceImageColor.a);
}
)";

} // namespace

std::shared_ptr<PixVignetteFilter> PixVignetteFilter::create() {
    return std::shared_ptr<PixVignetteFilter>(new PixVignetteFilter);
}

PixVignetteFilter::PixVignetteFilter()
    : PixFilter(PixDefaultVertexShader, kVignetteFragmentShader) {
    m_vignetteCenterUniform = uniformLocation("vignetteCenter");
    m_vignetteColorUniform = uniformLocation("vignetteColor");
    m_vignetteStartUniform = uniformLocation("vignetteStart");
    m_vignetteEndUniform = uniformLocation("vignetteEnd");
    setVignetteCenter({0.5f, 0.5f});
    setVignetteColor({0.0f, 0.0f, 0.0f});
    setVignetteStart(0.3f);
    setVignetteEnd(0.75f);
}

void PixVignetteFilter::setVignetteCenter(core::Point newValue) {
    m_vignetteCenter = newValue;
    setPoint(newValue, m_vignetteCenterUniform, m_filterProgram);
}

void PixVignetteFilter::setVignetteColor(GPUVector3 newValue) {
    m_vignetteColor = newValue;
    setVec3(newValue, m_vignetteColorUniform, m_filterProgram);
}

void PixVignetteFilter::setVignetteStart(float newValue) {
    m_vignetteStart = newValue;
    setFloat(newValue, m_vignetteStartUniform, m_filterProgram);
}

void PixVignetteFilter::setVignetteEnd(float newValue) {
    m_vignetteEnd = newValue;
    setFloat(newValue, m_vignetteEndUniform, m_filterProgram);
}

} // namespace zm
