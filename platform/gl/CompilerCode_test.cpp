#include "platform/gl/CompilerCode.h"
#include "platform/gl/Context.h"
#include "platform/gl/GLES.h"
#include "platform/gl/RgbaImage.h"

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace gl {
namespace {

GLuint compile(GLenum kind, const std::string& text) {
    const GLuint shader = glCreateShader(kind);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    EXPECT_TRUE(compiled) << text;
    return shader;
}

// Builds a program that paints `colour` (a GLSL vec4), draws it over a fresh 4 x 4 framebuffer object
// and reads the pixels back: the driver compiles the program and the variant the draw needs.
RgbaImage paint(const std::string& colour) {
    const GLuint program = glCreateProgram();
    const GLuint vertex =
        compile(GL_VERTEX_SHADER, "attribute vec4 position; void main() { gl_Position = position; }");
    const GLuint fragment = compile(
        GL_FRAGMENT_SHADER, "precision mediump float; void main() { gl_FragColor = " + colour + "; }");
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, 0, "position");
    glLinkProgram(program);
    glUseProgram(program);

    GLuint texture = 0;
    GLuint framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glViewport(0, 0, 4, 4);
    const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, corners);
    glEnableVertexAttribArray(0);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    RgbaImage image = RgbaImage::readFramebuffer(4, 4);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
    glDeleteProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return image;
}

// The bytes of LLVM's code resident in this process, as the kernel counts them.
std::size_t residentCompilerCode() {
    std::ifstream smaps("/proc/self/smaps");
    std::size_t kilobytes = 0;
    bool code = false;
    for (std::string line; std::getline(smaps, line);) {
        std::istringstream fields(line);
        std::string first, second;
        fields >> first >> second;
        if (first.back() != ':') {
            std::string offset, device, inode, path;
            fields >> offset >> device >> inode >> path;
            code = second == "r-xp" && path.find("/libLLVM") != std::string::npos;
        } else if (code && first == "Rss:") {
            kilobytes += std::stoul(second);
        }
    }
    return kilobytes * 1024;
}

TEST(CompilerCode, TheCompilersCodeLeavesMemoryAndTheDriverStillBuildsAndDrawsNewPrograms) {
    auto context = Context::create();
    ASSERT_TRUE(context) << context.error().text();
    ASSERT_TRUE((*context)->makeCurrent());
    EXPECT_EQ(paint("vec4(1.0, 0.0, 0.0, 1.0)").pixel(1, 1), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));

    const std::size_t resident = residentCompilerCode();
    if (resident == 0)
        GTEST_SKIP() << "the GL driver has no LLVM compiler loaded";
    releaseShaderCompilerCode();
    EXPECT_LT(residentCompilerCode(), resident / 10) << "of " << resident << " bytes";

    // A program never built before needs the compiler again, which finds its code where it was.
    EXPECT_EQ(paint("vec4(0.0, 0.5, 1.0, 1.0)").pixel(2, 3), (std::array<std::uint8_t, 4>{0, 128, 255, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    (*context)->releaseCurrent();
}

} // namespace
} // namespace gl
