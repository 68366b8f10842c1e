#pragma once

#include "platform/gl/GLES.h"

#include <string>
#include <vector>

namespace zm {

// One GL program built from a vertex and a fragment shader given as text. The shaders are compiled and
// attached at construction; attributes are bound to fixed locations (their order of adding) before the
// one link. Programs normally come unlinked from PixContext's cache, and the first filter that gets one
// adds its attributes and links it.
//
// Every operation makes GL calls: use it only where the image framework's context is current (on its
// processing queue), destruction included.
class GLProgram {
public:
    GLProgram(const std::string& vertexShaderString, const std::string& fragmentShaderString);
    ~GLProgram();
    GLProgram(const GLProgram&) = delete;
    GLProgram& operator=(const GLProgram&) = delete;

    // Binds the next free location to the name; a name already added keeps its location.
    // Takes effect at the next link.
    void addAttribute(const std::string& name);
    // The location bound to an added attribute.
    GLuint attributeIndex(const std::string& name) const;
    // The uniform's location in the linked program; -1 when it has no active uniform of that name
    // (GL then ignores writes to it).
    GLint uniformIndex(const std::string& name) const;

    // Links once. On success the shader objects are deleted; on failure they stay so that their logs
    // can be read.
    bool link();
    // Makes the program current; PixContext::setActiveShaderProgram calls it, skipping repeats.
    void use();
    // Logs the program's validation log, when there is one.
    void validate();

    // GL's info logs; empty when GL has none (a deleted shader has none).
    std::string vertexShaderLog() const;
    std::string fragmentShaderLog() const;
    std::string programLog() const;

    bool initialized() const { return m_initialized; }
    GLuint program() const { return m_program; }

private:
    static bool compileShader(GLuint* shader, GLenum type, const std::string& source);

    std::vector<std::string> m_attributes; // position in the list = bound location
    GLuint m_program = 0;
    GLuint m_vertShader = 0; // 0 once linked
    GLuint m_fragShader = 0; // 0 once linked
    bool m_initialized = false;
};

} // namespace zm
