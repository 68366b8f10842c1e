#include "framework/Source/PixExclusionBlendFilter.h"

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
    gl_FragColor = vec4((overlay.rgb * base.a + base.rgb * overlay.a - 2.0 * overlay.rgb * base.rgb) +
                            overlay.rgb * (1.0 - base.a) + base.rgb * (1.0 - overlay.a),
                        base.a);
}
)";

} // namespace

std::shared_ptr<PixExclusionBlendFilter> PixExclusionBlendFilter::create() {
    return std::shared_ptr<PixExclusionBlendFilter>(new PixExclusionBlendFilter);
}

PixExclusionBlendFilter::PixExclusionBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
