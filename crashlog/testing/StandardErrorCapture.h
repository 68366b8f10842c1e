#pragma once

#include <cstdio>
#include <string>
#include <unistd.h>

namespace zm::testing {

// While alive, standard error goes to a temporary file, so that a test can read what crash-time code
// wrote there with plain write calls.
class StandardErrorCapture {
public:
    StandardErrorCapture()
        : m_file(tmpfile())
        , m_saved(dup(STDERR_FILENO)) {
        fflush(stderr);
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StandardErrorCapture() {
        restore();
        fclose(m_file);
    }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Everything written so far.
    std::string text() const {
        std::string bytes;
        char buffer[4096];
        for (off_t at = 0;;) {
            const ssize_t count = pread(fileno(m_file), buffer, sizeof buffer, at);
            if (count <= 0)
                return bytes;
            bytes.append(buffer, static_cast<size_t>(count));
            at += count;
        }
    }

private:
    void restore() {
        if (m_saved < 0)
            return;
        fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    FILE* m_file;
    int m_saved;
};

} // namespace zm::testing
