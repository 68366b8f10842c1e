#include "framework/Source/PixPerlinNoiseFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

// Classic two-dimensional gradient noise: a pseudo-random gradient at each lattice corner (a
// permutation polynomial modulo 289), the corners' contributions blended with the quintic fade.
const char* const kPerlinNoiseFragmentShader = R"(
precision highp float;

varying highp vec2 textureCoordinate;

uniform float scale;
uniform vec4 colorStart;
uniform vec4 colorFinish;

vec4 mod289(vec4 x)
{
    return x - floor(x * (1.0 / 289.0)) * 289.0;
}

vec4 permute(vec4 x)
{
    return mod289(((x * 34.0) + 1.0) * x);
}

vec2 fade(vec2 t)
{
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

float gradientNoise(vec2 P)
{
    vec4 Pi = mod289(floor(P.xyxy) + vec4(0.0, 0.0, 1.0, 1.0));
    vec4 Pf = fract(P.xyxy) - vec4(0.0, 0.0, 1.0, 1.0);
    vec4 ix = Pi.xzxz;
    vec4 iy = Pi.yyww;
    vec4 fx = Pf.xzxz;
    vec4 fy = Pf.yyww;

    vec4 i = permute(permute(ix) + iy);
    vec4 gx = fract(i * (1.0 / 41.0)) * 2.0 - 1.0;
    vec4 gy = abs(gx) - 0.5;
    gx = gx - floor(gx + 0.5);

    vec2 g00 = vec2(gx.x, gy.x);
    vec2 g10 = vec2(gx.y, gy.y);
    vec2 g01 = vec2(gx.z, gy.z);
    vec2 g11 = vec2(gx.w, gy.w);
    vec4 norm = 1.79284291400159 - 0.85373472095314 * vec4(dot(g00, g00), dot(g01, g01), dot(g10, g10), dot(g11, g11));
    g00 *= norm.x;
    g01 *= norm.y;
    g10 *= norm.z;
    g11 *= norm.w;

    float n00 = dot(g00, vec2(fx.x, fy.x));
    float n10 = dot(g10, vec2(fx.y, fy.y));
    float n01 = dot(g01, vec2(fx.z, fy.z));
    float n11 = dot(g11, vec2(fx.w, fy.w));

    vec2 fadeXY = fade(Pf.xy);
    vec2 alongX = mix(vec2(n00, n01), vec2(n10, n11), fadeXY.x);
    return 2.3 * mix(alongX.x, alongX.y, fadeXY.y);
}

void main()
{
    float n = (gradientNoise(textureCoordinate * scale) + 1.0) / 2.0;
    gl_FragColor = colorStart + (colorFinish - colorStart) * n;
}
)";

} // namespace

std::shared_ptr<PixPerlinNoiseFilter> PixPerlinNoiseFilter::create() {
    return std::shared_ptr<PixPerlinNoiseFilter>(new PixPerlinNoiseFilter);
}

PixPerlinNoiseFilter::PixPerlinNoiseFilter()
    : PixFilter(PixDefaultVertexShader, kPerlinNoiseFragmentShader) {
    m_scaleUniform = uniformLocation("scale");
    m_colorStartUniform = uniformLocation("colorStart");
    m_colorFinishUniform = uniformLocation("colorFinish");
    setScale(8.0f);
    setColorStart({0, 0, 0, 1});
    setColorFinish({1, 1, 1, 1});
}

float PixPerlinNoiseFilter::scale() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = m_scale; });
    return value;
}

void PixPerlinNoiseFilter::setScale(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_scale = newValue;
        setFloat(newValue, m_scaleUniform, m_filterProgram);
    });
}

GPUVector4 PixPerlinNoiseFilter::colorStart() const {
    GPUVector4 value{};
    runSynchronouslyOnContextQueue([&] { value = m_colorStart; });
    return value;
}

void PixPerlinNoiseFilter::setColorStart(GPUVector4 newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_colorStart = newValue;
        setVec4(newValue, m_colorStartUniform, m_filterProgram);
    });
}

GPUVector4 PixPerlinNoiseFilter::colorFinish() const {
    GPUVector4 value{};
    runSynchronouslyOnContextQueue([&] { value = m_colorFinish; });
    return value;
}

void PixPerlinNoiseFilter::setColorFinish(GPUVector4 newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_colorFinish = newValue;
        setVec4(newValue, m_colorFinishUniform, m_filterProgram);
    });
}

} // namespace zm
