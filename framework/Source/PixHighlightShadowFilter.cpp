#include "framework/Source/PixHighlightShadowFilter.h"

namespace zm {

const char* const PixHighlightShadowFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float shadows;
uniform lowp float highlights;

const mediump vec3 luminanceWeighting = vec3(0.3, 0.3, 0.3);

void main()
{
    lowp vec4 source = texture2D(inputImageTexture, textureCoordinate);
    mediump float luminance = dot(source.rgb, luminanceWeighting);

    mediump float shadow = clamp((pow(luminance, 1.0 / (shadows + 1.0)) +
                                  (-0.76) * pow(luminance, 2.0 / (shadows + 1.0))) - luminance, 0.0, 1.0);
    mediump float highlight = clamp((1.0 - (pow(1.0 - luminance, 1.0 / (2.0 - highlights)) +
                                            (-0.8) * pow(1.0 - luminance, 2.0 / (2.0 - highlights)))) - luminance,
                                    -1.0, 0.0);
    // A black pixel has nothing to scale: dividing by its luminance of 0 would make no colour at all.
    lowp vec3 result = luminance > 0.0 ? source.rgb * ((luminance + shadow + highlight) / luminance) : vec3(0.0);

    gl_FragColor = vec4(result, source.a);
}
)";

std::shared_ptr<PixHighlightShadowFilter> PixHighlightShadowFilter::create() {
    return std::shared_ptr<PixHighlightShadowFilter>(new PixHighlightShadowFilter);
}

PixHighlightShadowFilter::PixHighlightShadowFilter()
    : PixFilter(PixDefaultVertexShader, PixHighlightShadowFragmentShader) {
    m_shadowsUniform = uniformLocation("shadows");
    m_highlightsUniform = uniformLocation("highlights");
    setShadows(0.0f);
    setHighlights(1.0f);
}

void PixHighlightShadowFilter::setShadows(float newValue) {
    m_shadows = newValue;
    setFloat(newValue, m_shadowsUniform, m_filterProgram);
}

void PixHighlightShadowFilter::setHighlights(float newValue) {
    m_highlights = newValue;
    setFloat(newValue, m_highlightsUniform, m_filterProgram);
}

} // namespace zm
