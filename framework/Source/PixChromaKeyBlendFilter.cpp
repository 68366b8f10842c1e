#include "framework/Source/PixChromaKeyBlendFilter.h"

namespace zm {

std::shared_ptr<PixChromaKeyBlendFilter> PixChromaKeyBlendFilter::create() {
    return std::shared_ptr<PixChromaKeyBlendFilter>(new PixChromaKeyBlendFilter);
}

PixChromaKeyBlendFilter::PixChromaKeyBlendFilter()
    : PixChromaKeying(PixTwoInputVertexShader, R"(
varying highp vec2 textureCoordinate2;
uniform sampler2D inputImageTexture2;
)",
                      R"(    vec4 textureColor2 = texture2D(inputImageTexture2, textureCoordinate2);
    gl_FragColor = mix(textureColor, textureColor2, 1.0 - awayFromKey);
)") {}

} // namespace zm
