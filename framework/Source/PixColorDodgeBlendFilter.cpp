#include "framework/Source/PixColorDodgeBlendFilter.h"

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
    vec3 baseOverlayAlphaProduct = vec3(overlay.a * base.a);
    vec3 rightHandProduct = overlay.rgb * (1.0 - base.a) + base.rgb * (1.0 - overlay.a);

    vec3 firstBlendColor = baseOverlayAlphaProduct + rightHandProduct;
    vec3 overlayRGB = clamp((overlay.rgb / clamp(overlay.a, 0.01, 1.0)) * step(0.0, overlay.a), 0.0, 0.99);
    vec3 secondBlendColor = (base.rgb * overlay.a) / (1.0 - overlayRGB) + rightHandProduct;

    vec3 colorChoice = step((overlay.rgb * base.a + base.rgb * overlay.a), baseOverlayAlphaProduct);
    gl_FragColor = vec4(mix(firstBlendColor, secondBlendColor, colorChoice), 1.0);
}
)";

} // namespace

std::shared_ptr<PixColorDodgeBlendFilter> PixColorDodgeBlendFilter::create() {
    return std::shared_ptr<PixColorDodgeBlendFilter>(new PixColorDodgeBlendFilter);
}

PixColorDodgeBlendFilter::PixColorDodgeBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

} // namespace zm
