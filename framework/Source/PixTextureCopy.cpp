#include "framework/Source/PixTextureCopy.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixColorSwizzlingFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

void main()
{
    gl_FragColor = texture2D(inputImageTexture, textureCoordinate).bgra;
}
)";

const PixTextureCopy::Quad PixTextureCopy::kFullScreenVertices = {-1.0f, -1.0f, 1.0f, -1.0f,
                                                                  -1.0f, 1.0f,  1.0f, 1.0f};
const PixTextureCopy::Quad PixTextureCopy::kUnrotatedTextureCoordinates = {0.0f, 0.0f, 1.0f, 0.0f,
                                                                           0.0f, 1.0f, 1.0f, 1.0f};

PixTextureCopy::PixTextureCopy(const std::string& fragmentShaderString)
    : m_program(PixFilter::prepareProgram(PixDefaultVertexShader, fragmentShaderString)) {}

void PixTextureCopy::draw(GLuint texture, const Quad& vertices, const Quad& textureCoordinates,
                          const std::array<GLfloat, 4>& clearColour) const {
    PixContext::setActiveShaderProgram(m_program.program);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glClear(GL_COLOR_BUFFER_BIT);

    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(m_program.inputTextureUniform, 4);

    glVertexAttribPointer(m_program.positionAttribute, 2, GL_FLOAT, GL_FALSE, 0, vertices.data());
    glVertexAttribPointer(m_program.textureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          textureCoordinates.data());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

} // namespace zm
