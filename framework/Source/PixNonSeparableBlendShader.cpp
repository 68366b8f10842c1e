#include "framework/Source/PixNonSeparableBlendShader.h"

namespace zm {

namespace {

const char* const kColourHelpers = R"(
precision mediump float;

varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

highp float lum(lowp vec3 c)
{
    return dot(c, vec3(0.3, 0.59, 0.11));
}

// Pulls a colour that left the 0..1 cube back in along its line through the grey of its luminance.
lowp vec3 clipcolor(lowp vec3 c)
{
    highp float l = lum(c);
    lowp float n = min(min(c.r, c.g), c.b);
    lowp float x = max(max(c.r, c.g), c.b);
    if (n < 0.0)
        c = l + ((c - l) * l) / (l - n);
    if (x > 1.0)
        c = l + ((c - l) * (1.0 - l)) / (x - l);
    return c;
}

lowp vec3 setlum(lowp vec3 c, highp float l)
{
    return clipcolor(c + (l - lum(c)));
}

highp float sat(lowp vec3 c)
{
    return max(max(c.r, c.g), c.b) - min(min(c.r, c.g), c.b);
}

// The colour's largest component becomes s, its smallest 0 and its middle one keeps its place between.
lowp vec3 setsat(lowp vec3 c, highp float s)
{
    if (c.r > c.g) {
        if (c.r > c.b) {
            if (c.g > c.b)
                return vec3(s, (c.g - c.b) * s / (c.r - c.b), 0.0);
            return vec3(s, 0.0, (c.b - c.g) * s / (c.r - c.g));
        }
        return vec3((c.r - c.g) * s / (c.b - c.g), 0.0, s);
    }
    if (c.r > c.b)
        return vec3((c.r - c.b) * s / (c.g - c.b), s, 0.0);
    if (c.g > c.b)
        return vec3(0.0, s, (c.b - c.r) * s / (c.g - c.r));
    if (c.b > c.g)
        return vec3(0.0, (c.g - c.r) * s / (c.b - c.r), s);
    return vec3(0.0);
}

)";

} // namespace

std::string nonSeparableBlendFragmentShader(std::string_view blendedColour) {
    std::string shader = kColourHelpers;
    shader += "void main()\n"
              "{\n"
              "    mediump vec4 base = texture2D(inputImageTexture, textureCoordinate);\n"
              "    mediump vec4 overlay = texture2D(inputImageTexture2, textureCoordinate2);\n"
              "    lowp vec3 blended = ";
    shader += blendedColour;
    shader += ";\n"
              "    gl_FragColor = vec4(base.rgb * (1.0 - overlay.a) + blended * overlay.a, base.a);\n"
              "}\n";
    return shader;
}

} // namespace zm
