#include "framework/Source/PixColorInvertFilter.h"

namespace zm {

const char* const PixColorInvertFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(1.0 - textureColor.rgb, textureColor.a);
}
)";

std::shared_ptr<PixColorInvertFilter> PixColorInvertFilter::create() {
    return std::shared_ptr<PixColorInvertFilter>(new PixColorInvertFilter);
}

PixColorInvertFilter::PixColorInvertFilter()
    : PixFilter(PixDefaultVertexShader, PixColorInvertFragmentShader) {}

} // namespace zm
