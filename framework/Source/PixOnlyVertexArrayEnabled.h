#pragma once

#include "platform/gl/GLES.h"

#include <vector>

namespace zm {

// While points or lines are drawn from an array of the filter's own, no other vertex array may be read:
// the arrays other draws left enabled point at a quad's four vertices, and these draws take many more.
// Enables only the given attribute's array for its lifetime, then enables again what it turned off. On
// the processing queue.
class PixOnlyVertexArrayEnabled {
public:
    explicit PixOnlyVertexArrayEnabled(GLuint attribute) {
        GLint attributeCount = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributeCount);
        for (GLuint other = 0; other < static_cast<GLuint>(attributeCount); ++other) {
            GLint enabled = 0;
            glGetVertexAttribiv(other, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
            if (enabled && other != attribute) {
                glDisableVertexAttribArray(other);
                m_disabled.push_back(other);
            }
        }
        glEnableVertexAttribArray(attribute);
    }
    ~PixOnlyVertexArrayEnabled() {
        for (GLuint attribute : m_disabled)
            glEnableVertexAttribArray(attribute);
    }
    PixOnlyVertexArrayEnabled(const PixOnlyVertexArrayEnabled&) = delete;
    PixOnlyVertexArrayEnabled& operator=(const PixOnlyVertexArrayEnabled&) = delete;

private:
    std::vector<GLuint> m_disabled;
};

} // namespace zm
