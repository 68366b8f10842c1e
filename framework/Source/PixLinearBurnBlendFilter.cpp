#include "framework/Source/PixLinearBurnBlendFilter.h"

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
    gl_FragColor = vec4(clamp(base.rgb + overlay.rgb - vec3(1.0), vec3(0.0), vec3(1.0)), base.a);
}
)";

} // namespace

std::shared_ptr<PixLinearBurnBlendFilter> PixLinearBurnBlendFilter::create() {
    return std::shared_ptr<PixLinearBurnBlendFilter>(new PixLinearBurnBlendFilter);
}

PixLinearBurnBlendFilter::PixLinearBurnBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
