#include "framework/Source/PixYUVConversion.h"

#include "framework/Source/GLProgram.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTextureCopy.h"
#include "platform/core/Log.h"
#include "platform/media/PixelBuffer.h"

#include <cstring>
#include <vector>

namespace zm {

// Video range: luma 16-235 and chroma 16-240 of 255, so the luma weight carries 255/219.
const PixColorConversionMatrix colorConversionMatrixBT601 = {1.164f, 1.164f, 1.164f, 0.0f,  -0.392f,
                                                             2.017f, 1.596f, -0.813f, 0.0f};
const PixColorConversionMatrix colorConversionMatrixBT709 = {1.164f, 1.164f, 1.164f, 0.0f,  -0.213f,
                                                             2.112f, 1.793f, -0.533f, 0.0f};
// Full range: luma and chroma over the whole 0-255.
const PixColorConversionMatrix colorConversionMatrixBT601FullRange = {1.0f,   1.0f,      1.0f,      0.0f, -0.344136f,
                                                                      1.772f, 1.402f, -0.714136f, 0.0f};
const PixColorConversionMatrix colorConversionMatrixBT709FullRange = {1.0f,    1.0f,       1.0f,      0.0f, -0.187324f,
                                                                      1.8556f, 1.5748f, -0.468124f, 0.0f};

const char* const PixYUVConversionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D luminanceTexture;
uniform sampler2D chrominanceTexture;
uniform mediump mat3 colorConversionMatrix;
uniform mediump float luminanceOffset;

void main()
{
    mediump vec3 yuv;
    yuv.x = texture2D(luminanceTexture, textureCoordinate).r - luminanceOffset;
    yuv.yz = texture2D(chrominanceTexture, textureCoordinate).ra - vec2(0.5, 0.5);
    lowp vec3 rgb = colorConversionMatrix * yuv;
    gl_FragColor = vec4(rgb, 1);
}
)";

namespace {

// Black of video-range luma.
constexpr GLfloat kVideoRangeLuminanceOffset = 16.0f / 255.0f;

void makeTexture(GLuint& texture) {
    if (texture)
        return;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// Uploads rows of `bytesPerPixel` × width bytes that lie `bytesPerRow` apart. OpenGL ES 2.0 reads rows
// packed, so padded rows are packed first.
void uploadPlane(GLenum format, int bytesPerPixel, int width, int height, std::size_t bytesPerRow,
                 const std::uint8_t* bytes, bool newSize) {
    const std::size_t packedRow = static_cast<std::size_t>(width) * bytesPerPixel;
    std::vector<std::uint8_t> packed;
    if (bytesPerRow != packedRow) {
        packed.resize(packedRow * height);
        for (int row = 0; row < height; ++row)
            std::memcpy(packed.data() + row * packedRow, bytes + row * bytesPerRow, packedRow);
        bytes = packed.data();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (newSize)
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, bytes);
    else
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, bytes);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

} // namespace

PixYUVConversion::PixYUVConversion() {
    PixContext::useImageProcessingContext();
    const PixFilter::FilterProgram prepared =
        PixFilter::prepareProgram(PixDefaultVertexShader, PixYUVConversionFragmentShader);
    m_program = prepared.program;
    m_positionAttribute = prepared.positionAttribute;
    m_textureCoordinateAttribute = prepared.textureCoordinateAttribute;
    m_luminanceTextureUniform = m_program->uniformIndex("luminanceTexture");
    m_chrominanceTextureUniform = m_program->uniformIndex("chrominanceTexture");
    m_matrixUniform = m_program->uniformIndex("colorConversionMatrix");
    m_luminanceOffsetUniform = m_program->uniformIndex("luminanceOffset");
}

PixYUVConversion::~PixYUVConversion() {
    PixContext::useImageProcessingContext();
    destroyYUVConversionFBO();
    const GLuint textures[] = {m_luminanceTexture, m_chrominanceTexture};
    glDeleteTextures(2, textures);
}

void PixYUVConversion::uploadPlanes(const media::PixelBuffer& picture) {
    const bool fullRange = picture.format() == media::PixelFormat::BiPlanar420FullRange;
    const bool bt601 = picture.ycbcrMatrix() == media::YCbCrMatrix::ITU_R_601;
    if (fullRange)
        m_preferredConversion = bt601 ? &colorConversionMatrixBT601FullRange : &colorConversionMatrixBT709FullRange;
    else
        m_preferredConversion = bt601 ? &colorConversionMatrixBT601 : &colorConversionMatrixBT709;
    m_luminanceOffset = fullRange ? 0.0f : kVideoRangeLuminanceOffset;

    const bool newSize = picture.width() != m_planeWidth || picture.height() != m_planeHeight || !m_luminanceTexture;
    m_planeWidth = picture.width();
    m_planeHeight = picture.height();
    glActiveTexture(GL_TEXTURE4);
    makeTexture(m_luminanceTexture);
    glBindTexture(GL_TEXTURE_2D, m_luminanceTexture);
    uploadPlane(GL_LUMINANCE, 1, picture.widthOfPlane(0), picture.heightOfPlane(0), picture.bytesPerRowOfPlane(0),
                picture.baseAddressOfPlane(0), newSize);
    glActiveTexture(GL_TEXTURE5);
    makeTexture(m_chrominanceTexture);
    glBindTexture(GL_TEXTURE_2D, m_chrominanceTexture);
    uploadPlane(GL_LUMINANCE_ALPHA, 2, picture.widthOfPlane(1), picture.heightOfPlane(1), picture.bytesPerRowOfPlane(1),
                picture.baseAddressOfPlane(1), newSize);
}

void PixYUVConversion::uploadBGRA(const media::PixelBuffer& picture, GLuint texture) {
    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Storage is made anew for every picture: a BGRA source's pictures may change size at any frame.
    uploadPlane(GL_BGRA_EXT, 4, picture.width(), picture.height(), picture.bytesPerRow(), picture.baseAddress(), true);
}

void PixYUVConversion::setOutputTexture(GLuint outputTexture, int width, int height) {
    destroyYUVConversionFBO();
    m_outputWidth = width;
    m_outputHeight = height;
    glActiveTexture(GL_TEXTURE1);
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glBindTexture(GL_TEXTURE_2D, outputTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, outputTexture, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE)
        core::log(core::LogLevel::Error, "Incomplete filter FBO: " + std::to_string(status));
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PixYUVConversion::convertYUVToRGBOutput() {
    if (!m_framebuffer)
        return;
    PixContext::setActiveShaderProgram(m_program);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glViewport(0, 0, m_outputWidth, m_outputHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_2D, m_luminanceTexture);
    glUniform1i(m_luminanceTextureUniform, 4);
    glActiveTexture(GL_TEXTURE5);
    glBindTexture(GL_TEXTURE_2D, m_chrominanceTexture);
    glUniform1i(m_chrominanceTextureUniform, 5);
    glUniformMatrix3fv(m_matrixUniform, 1, GL_FALSE, m_preferredConversion->data());
    glUniform1f(m_luminanceOffsetUniform, m_luminanceOffset);
    glVertexAttribPointer(m_positionAttribute, 2, GL_FLOAT, GL_FALSE, 0, PixTextureCopy::kFullScreenVertices.data());
    glVertexAttribPointer(m_textureCoordinateAttribute, 2, GL_FLOAT, GL_FALSE, 0,
                          PixTextureCopy::kUnrotatedTextureCoordinates.data());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void PixYUVConversion::destroyYUVConversionFBO() {
    if (m_framebuffer) {
        glDeleteFramebuffers(1, &m_framebuffer);
        m_framebuffer = 0;
    }
}

} // namespace zm
