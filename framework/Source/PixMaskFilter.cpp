#include "framework/Source/PixMaskFilter.h"

namespace zm {

namespace {

const char* const kFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

void main()
{
    lowp vec4 textureColor = texture2D(inputImageTexture, textureCoordinate);
    lowp vec4 textureColor2 = texture2D(inputImageTexture2, textureCoordinate2);

    lowp float newAlpha = dot(textureColor2.rgb, vec3(0.33333334, 0.33333334, 0.33333334)) * textureColor2.a;
    gl_FragColor = vec4(textureColor.rgb, newAlpha);
}
)";

} // namespace

std::shared_ptr<PixMaskFilter> PixMaskFilter::create() {
    return std::shared_ptr<PixMaskFilter>(new PixMaskFilter);
}

PixMaskFilter::PixMaskFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kFragmentShader) {}

void PixMaskFilter::renderToTextureWithVertices(const GLfloat* vertices, const GLfloat* textureCoordinates,
                                                GLuint sourceTexture) {
    // Blended onto the cleared background, so the shader's alpha decides how much of the base lands.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    PixTwoInputFilter::renderToTextureWithVertices(vertices, textureCoordinates, sourceTexture);
    glDisable(GL_BLEND);
}

} // namespace zm
