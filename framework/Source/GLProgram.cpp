#include "framework/Source/GLProgram.h"

#include "platform/core/Log.h"

#include <algorithm>

namespace zm {

namespace {

using InfoFunction = void (*)(GLuint, GLenum, GLint*);
using LogFunction = void (*)(GLuint, GLsizei, GLsizei*, GLchar*);

std::string infoLog(GLuint object, InfoFunction info, LogFunction log) {
    if (object == 0)
        return {};
    GLint length = 0;
    info(object, GL_INFO_LOG_LENGTH, &length);
    if (length < 1)
        return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    GLsizei written = 0;
    log(object, length, &written, text.data());
    text.resize(static_cast<std::size_t>(written));
    return text;
}

} // namespace

GLProgram::GLProgram(const std::string& vertexShaderString, const std::string& fragmentShaderString)
    : m_program(glCreateProgram()) {
    if (!compileShader(&m_vertShader, GL_VERTEX_SHADER, vertexShaderString))
        core::log(core::LogLevel::Error, "Failed to compile vertex shader");
    if (!compileShader(&m_fragShader, GL_FRAGMENT_SHADER, fragmentShaderString))
        core::log(core::LogLevel::Error, "Failed to compile fragment shader");
    glAttachShader(m_program, m_vertShader);
    glAttachShader(m_program, m_fragShader);
}

GLProgram::~GLProgram() {
    if (m_vertShader)
        glDeleteShader(m_vertShader);
    if (m_fragShader)
        glDeleteShader(m_fragShader);
    if (m_program)
        glDeleteProgram(m_program);
}

bool GLProgram::compileShader(GLuint* shader, GLenum type, const std::string& source) {
    *shader = glCreateShader(type);
    const GLchar* text = source.c_str();
    glShaderSource(*shader, 1, &text, nullptr);
    glCompileShader(*shader);

    GLint status = GL_FALSE;
    glGetShaderiv(*shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        const std::string log = infoLog(*shader, glGetShaderiv, glGetShaderInfoLog);
        if (!log.empty())
            core::log(core::LogLevel::Error, "Shader compile log:\n" + log);
    }
    return status == GL_TRUE;
}

void GLProgram::addAttribute(const std::string& name) {
    if (std::find(m_attributes.begin(), m_attributes.end(), name) != m_attributes.end())
        return;
    m_attributes.push_back(name);
    glBindAttribLocation(m_program, attributeIndex(name), name.c_str());
}

GLuint GLProgram::attributeIndex(const std::string& name) const {
    const auto found = std::find(m_attributes.begin(), m_attributes.end(), name);
    return static_cast<GLuint>(found - m_attributes.begin());
}

GLint GLProgram::uniformIndex(const std::string& name) const {
    return glGetUniformLocation(m_program, name.c_str());
}

bool GLProgram::link() {
    glLinkProgram(m_program);
    GLint status = GL_FALSE;
    glGetProgramiv(m_program, GL_LINK_STATUS, &status);
    if (status == GL_FALSE)
        return false;

    glDeleteShader(m_vertShader);
    m_vertShader = 0;
    glDeleteShader(m_fragShader);
    m_fragShader = 0;
    m_initialized = true;
    return true;
}

void GLProgram::use() {
    glUseProgram(m_program);
}

void GLProgram::validate() {
    glValidateProgram(m_program);
    const std::string log = infoLog(m_program, glGetProgramiv, glGetProgramInfoLog);
    if (!log.empty())
        core::log(core::LogLevel::Warning, "Program validate log:\n" + log);
}

std::string GLProgram::vertexShaderLog() const {
    return infoLog(m_vertShader, glGetShaderiv, glGetShaderInfoLog);
}

std::string GLProgram::fragmentShaderLog() const {
    return infoLog(m_fragShader, glGetShaderiv, glGetShaderInfoLog);
}

std::string GLProgram::programLog() const {
    return infoLog(m_program, glGetProgramiv, glGetProgramInfoLog);
}

} // namespace zm
