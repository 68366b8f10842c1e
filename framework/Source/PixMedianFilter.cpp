#include "framework/Source/PixMedianFilter.h"

namespace zm {

namespace {

// The median of nine by forgetful selection: of six values sorted far enough to know their smallest and
// largest, those two cannot be the median and go; a new value takes a place, and again the extremes
// go, until one is left. Each exchange puts the smaller of a pair first.
const std::string kMedianFragmentShader = R"(
precision highp float;
)" + std::string(Pix3x3SamplingFragmentInputs) + R"(

void order(inout vec3 a, inout vec3 b)
{
    vec3 smaller = min(a, b);
    b = max(a, b);
    a = smaller;
}

// a ends as the smallest of three.
void smallestFirst(inout vec3 a, inout vec3 b, inout vec3 c)
{
    order(a, b);
    order(a, c);
}

// c ends as the largest of three.
void largestLast(inout vec3 a, inout vec3 b, inout vec3 c)
{
    order(b, c);
    order(a, c);
}

void main()
{
    vec3 v0 = texture2D(inputImageTexture, bottomLeftTextureCoordinate).rgb;
    vec3 v1 = texture2D(inputImageTexture, topRightTextureCoordinate).rgb;
    vec3 v2 = texture2D(inputImageTexture, topLeftTextureCoordinate).rgb;
    vec3 v3 = texture2D(inputImageTexture, bottomRightTextureCoordinate).rgb;
    vec3 v4 = texture2D(inputImageTexture, leftTextureCoordinate).rgb;
    vec3 v5 = texture2D(inputImageTexture, rightTextureCoordinate).rgb;

    // Six: the smallest goes to v0 and the largest to v5.
    order(v0, v3);
    order(v1, v4);
    order(v2, v5);
    smallestFirst(v0, v1, v2);
    largestLast(v3, v4, v5);

    // v1 to v4 and the bottom: five; the smallest to v1, the largest to v5.
    v5 = texture2D(inputImageTexture, bottomTextureCoordinate).rgb;
    order(v1, v2);
    order(v3, v4);
    smallestFirst(v1, v3, v5);
    largestLast(v2, v4, v5);

    // v2 to v4 and the top: four; the smallest to v2, the largest to v5.
    v5 = texture2D(inputImageTexture, topTextureCoordinate).rgb;
    order(v2, v3);
    order(v4, v5);
    order(v2, v4);
    order(v3, v5);

    // v3, v4 and the centre: three; the middle one is the median.
    v5 = texture2D(inputImageTexture, textureCoordinate).rgb;
    largestLast(v3, v4, v5);
    order(v3, v4);

    gl_FragColor = vec4(v4, 1.0);
}
)";

} // namespace

std::shared_ptr<PixMedianFilter> PixMedianFilter::create() {
    return std::shared_ptr<PixMedianFilter>(new PixMedianFilter);
}

PixMedianFilter::PixMedianFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, kMedianFragmentShader) {}

} // namespace zm
