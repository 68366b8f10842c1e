#include "framework/Source/PixMultiplyBlendFilter.h"

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
    gl_FragColor = overlay * base + overlay * (1.0 - base.a) + base * (1.0 - overlay.a);
}
)";

} // namespace

std::shared_ptr<PixMultiplyBlendFilter> PixMultiplyBlendFilter::create() {
    return std::shared_ptr<PixMultiplyBlendFilter>(new PixMultiplyBlendFilter);
}

PixMultiplyBlendFilter::PixMultiplyBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
