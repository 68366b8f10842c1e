#pragma once

#include "platform/core/Result.h"

#include <memory>

namespace gl {

// An OpenGL ES 2.0 rendering context with no window behind it, on Mesa's surfaceless EGL platform:
// it renders in software (llvmpipe) when the machine has no GPU, and needs no display server.
// There is no default framebuffer; everything is drawn into framebuffer objects.
//
// Threads: a context is current on at most one thread at a time. makeCurrent() fails while another
// thread holds the context, so a context shared between threads is handed over with releaseCurrent().
class Context {
public:
    // Errors are in the domain "gl": kNoDisplay when the surfaceless EGL display cannot be had,
    // kNoContext when it offers no OpenGL ES 2.0 context.
    static core::Result<std::unique_ptr<Context>> create();
    static constexpr const char* kErrorDomain = "gl";
    enum ErrorCode : long { kNoDisplay = 1, kNoContext = 2 };

    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Makes the context current on the calling thread; costs nothing when it already is.
    // False when another thread holds it.
    bool makeCurrent();
    bool isCurrent() const;
    // Leaves the calling thread with no current context, when this one is current there.
    void releaseCurrent();

private:
    Context(void* display, void* context);

    void* m_display; // EGLDisplay, kept for the life of the process
    void* m_context; // EGLContext
};

} // namespace gl
