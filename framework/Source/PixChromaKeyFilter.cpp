#include "framework/Source/PixChromaKeyFilter.h"

namespace zm {

std::shared_ptr<PixChromaKeyFilter> PixChromaKeyFilter::create() {
    return std::shared_ptr<PixChromaKeyFilter>(new PixChromaKeyFilter);
}

PixChromaKeyFilter::PixChromaKeyFilter()
    : PixChromaKeying(PixDefaultVertexShader, "",
                      "    gl_FragColor = vec4(textureColor.rgb, textureColor.a * awayFromKey);\n") {}

} // namespace zm
