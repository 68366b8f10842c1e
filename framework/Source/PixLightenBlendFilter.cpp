#include "framework/Source/PixLightenBlendFilter.h"

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
    gl_FragColor = max(base, overlay);
}
)";

} // namespace

std::shared_ptr<PixLightenBlendFilter> PixLightenBlendFilter::create() {
    return std::shared_ptr<PixLightenBlendFilter>(new PixLightenBlendFilter);
}

PixLightenBlendFilter::PixLightenBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
