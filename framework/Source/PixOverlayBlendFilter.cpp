#include "framework/Source/PixOverlayBlendFilter.h"

namespace zm {

std::string pixOverlayFamilyShader(const std::string& decidingPicture) {
    return "#define DECIDING " + decidingPicture + R"(
precision mediump float;

varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

// One channel of the overlay family; `lower` picks the darkening half.
mediump float overlayChannel(mediump float b, mediump float o, mediump float ba, mediump float oa, bool lower)
{
    if (lower)
        return 2.0 * o * b + o * (1.0 - ba) + b * (1.0 - oa);
    return oa * ba - 2.0 * (ba - b) * (oa - o) + o * (1.0 - ba) + b * (1.0 - oa);
}

void main()
{
    mediump vec4 base = texture2D(inputImageTexture, textureCoordinate);
    mediump vec4 overlay = texture2D(inputImageTexture2, textureCoordinate2);
    gl_FragColor = vec4(overlayChannel(base.r, overlay.r, base.a, overlay.a, 2.0 * DECIDING.r < DECIDING.a),
                        overlayChannel(base.g, overlay.g, base.a, overlay.a, 2.0 * DECIDING.g < DECIDING.a),
                        overlayChannel(base.b, overlay.b, base.a, overlay.a, 2.0 * DECIDING.b < DECIDING.a), 1.0);
}
)";
}

std::shared_ptr<PixOverlayBlendFilter> PixOverlayBlendFilter::create() {
    return std::shared_ptr<PixOverlayBlendFilter>(new PixOverlayBlendFilter);
}

PixOverlayBlendFilter::PixOverlayBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, pixOverlayFamilyShader("base")) {}

} // namespace zm
