#include "framework/Source/PixBloomFilter.h"

namespace zm {

namespace {

const char* const kBloomFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

void main()
{
    highp vec4 sum = vec4(0.0);

    for (int i = -4; i < 4; i++) {
        for (int j = -3; j < 3; j++) {
            sum += texture2D(inputImageTexture, textureCoordinate + vec2(j, i) * 0.004) * 0.25;
        }
    }

    highp vec4 center = texture2D(inputImageTexture, textureCoordinate);
    if (center.r < 0.3) {
        gl_FragColor = sum * sum * 0.012 + center;
    } else if (center.r < 0.5) {
        gl_FragColor = sum * sum * 0.009 + center;
    } else {
        gl_FragColor = sum * sum * 0.0075 + center;
    }
}
)";

} // namespace

std::shared_ptr<PixBloomFilter> PixBloomFilter::create() {
    return std::shared_ptr<PixBloomFilter>(new PixBloomFilter);
}

PixBloomFilter::PixBloomFilter()
    : PixFilter(PixDefaultVertexShader, kBloomFragmentShader) {}

} // namespace zm
