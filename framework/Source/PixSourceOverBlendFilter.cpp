#include "framework/Source/PixSourceOverBlendFilter.h"

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
    gl_FragColor = mix(base, overlay, overlay.a);
}
)";

} // namespace

std::shared_ptr<PixSourceOverBlendFilter> PixSourceOverBlendFilter::create() {
    return std::shared_ptr<PixSourceOverBlendFilter>(new PixSourceOverBlendFilter);
}

PixSourceOverBlendFilter::PixSourceOverBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
