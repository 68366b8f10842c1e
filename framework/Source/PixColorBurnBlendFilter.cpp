#include "framework/Source/PixColorBurnBlendFilter.h"

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
    gl_FragColor = vec4(1.0) - (vec4(1.0) - base) / overlay;
}
)";

} // namespace

std::shared_ptr<PixColorBurnBlendFilter> PixColorBurnBlendFilter::create() {
    return std::shared_ptr<PixColorBurnBlendFilter>(new PixColorBurnBlendFilter);
}

PixColorBurnBlendFilter::PixColorBurnBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
