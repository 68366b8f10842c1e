#include "framework/Source/PixNormalBlendFilter.h"

namespace zm {

namespace {

const char* const kFragmentShader = R"(
precision mediump float;

varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

void main()
{
    mediump vec4 base = texture2D(inputImageTexture, textureCoordinate);
    mediump vec4 overlay = texture2D(inputImageTexture2, textureCoordinate2);
    lowp float a = overlay.a + base.a * (1.0 - overlay.a);
    gl_FragColor = vec4((overlay.rgb * overlay.a + base.rgb * base.a * (1.0 - overlay.a)) / a, a);
}
)";

} // namespace

std::shared_ptr<PixNormalBlendFilter> PixNormalBlendFilter::create() {
    return std::shared_ptr<PixNormalBlendFilter>(new PixNormalBlendFilter);
}

PixNormalBlendFilter::PixNormalBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
