#include "framework/Source/PixDarkenBlendFilter.h"

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
    gl_FragColor = vec4(min(overlay.rgb * base.a, base.rgb * overlay.a) + overlay.rgb * (1.0 - base.a) +
                            base.rgb * (1.0 - overlay.a),
                        1.0);
}
)";

} // namespace

std::shared_ptr<PixDarkenBlendFilter> PixDarkenBlendFilter::create() {
    return std::shared_ptr<PixDarkenBlendFilter>(new PixDarkenBlendFilter);
}

PixDarkenBlendFilter::PixDarkenBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
