#include "framework/Source/PixVoronoiConsumerFilter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixVoronoiSize.h"

namespace zm {

namespace {

const char* const kVoronoiConsumerFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform vec2 size;

varying vec2 textureCoordinate;
varying vec2 textureCoordinate2;

vec2 getCoordFromColor(vec4 color)
{
    float z = color.z * 256.0;
    float yoff = floor(z / 8.0);
    float xoff = mod(z, 8.0);
    float x = color.x * 256.0 + xoff * 256.0;
    float y = color.y * 256.0 + yoff * 256.0;
    return vec2(x, y) / size;
}

void main()
{
    vec4 colorLoc = texture2D(inputImageTexture2, textureCoordinate2);
    gl_FragColor = texture2D(inputImageTexture, getCoordFromColor(colorLoc));
}
)";

} // namespace

std::shared_ptr<PixVoronoiConsumerFilter> PixVoronoiConsumerFilter::create() {
    return std::shared_ptr<PixVoronoiConsumerFilter>(new PixVoronoiConsumerFilter);
}

PixVoronoiConsumerFilter::PixVoronoiConsumerFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kVoronoiConsumerFragmentShader) {
    m_sizeUniform = uniformLocation("size");
}

core::Size PixVoronoiConsumerFilter::sizeInPixels() const {
    core::Size value;
    runSynchronouslyOnContextQueue([&] { value = m_sizeInPixels; });
    return value;
}

void PixVoronoiConsumerFilter::setSizeInPixels(core::Size newValue) {
    runSynchronouslyOnContextQueue([&] {
        m_sizeInPixels = newValue;
        if (voronoiSizeIsValid(newValue, "Voronoi point texture must be a power of 2.  Texture size "))
            setSize(newValue, m_sizeUniform, m_filterProgram);
    });
}

} // namespace zm
