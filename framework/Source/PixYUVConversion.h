#pragma once

#include "platform/gl/GLES.h"

#include <array>
#include <memory>

namespace media {
class PixelBuffer;
}

namespace zm {

class GLProgram;

// Colour matrices from Y'CbCr to RGB, 3 x 3, column-major. The video-range ones expect luma with its
// black at 16/255 taken off (see PixYUVConversion); the full-range ones take luma as it is.
using PixColorConversionMatrix = std::array<GLfloat, 9>;
extern const PixColorConversionMatrix colorConversionMatrixBT601;
extern const PixColorConversionMatrix colorConversionMatrixBT709;
extern const PixColorConversionMatrix colorConversionMatrixBT601FullRange;
extern const PixColorConversionMatrix colorConversionMatrixBT709FullRange;

// Samples "luminanceTexture" (Y in red) and "chrominanceTexture" (Cb in red, Cr in alpha) and turns them
// into RGB with "colorConversionMatrix", after taking "luminanceOffset" off the luma.
extern const char* const PixYUVConversionFragmentShader;

// Turns a bi-planar 4:2:0 picture into RGB on the GPU, as movies and cameras deliver their frames: the
// two planes become a luminance texture and a half-size luminance-alpha texture, and one draw converts
// them into the source's output texture with the matrix and luma offset the picture's range and
// YCbCr matrix call for. BGRA pictures are uploaded as they are.
//
// On the processing queue only, destruction included.
class PixYUVConversion {
public:
    PixYUVConversion();
    ~PixYUVConversion();
    PixYUVConversion(const PixYUVConversion&) = delete;
    PixYUVConversion& operator=(const PixYUVConversion&) = delete;

    // Uploads both planes of a bi-planar picture and chooses the conversion for it.
    void uploadPlanes(const media::PixelBuffer& picture);
    GLuint luminanceTexture() const { return m_luminanceTexture; }
    GLuint chrominanceTexture() const { return m_chrominanceTexture; }
    // The matrix chosen for the last picture, and the luma offset.
    const PixColorConversionMatrix& preferredConversion() const { return *m_preferredConversion; }
    GLfloat luminanceOffset() const { return m_luminanceOffset; }

    // Gives `outputTexture` RGBA storage of the size and makes it what convert() draws into.
    void setOutputTexture(GLuint outputTexture, int width, int height);
    // Draws the last uploaded picture into the output texture.
    void convertYUVToRGBOutput();

    // Uploads a BGRA picture into `texture` (its storage made to fit).
    static void uploadBGRA(const media::PixelBuffer& picture, GLuint texture);

private:
    void destroyYUVConversionFBO();

    std::shared_ptr<GLProgram> m_program;
    GLuint m_positionAttribute = 0;
    GLuint m_textureCoordinateAttribute = 0;
    GLint m_luminanceTextureUniform = -1;
    GLint m_chrominanceTextureUniform = -1;
    GLint m_matrixUniform = -1;
    GLint m_luminanceOffsetUniform = -1;

    GLuint m_luminanceTexture = 0;
    GLuint m_chrominanceTexture = 0;
    int m_planeWidth = 0;
    int m_planeHeight = 0;
    const PixColorConversionMatrix* m_preferredConversion = &colorConversionMatrixBT709;
    GLfloat m_luminanceOffset = 0;

    GLuint m_framebuffer = 0;
    int m_outputWidth = 0;
    int m_outputHeight = 0;
};

} // namespace zm
