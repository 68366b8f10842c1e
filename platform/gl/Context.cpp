#include "platform/gl/Context.h"

#include <cstdio>
#include <cstring>

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace gl {

namespace {

std::string eglFailure(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string(what) + " (EGL error " + code + ")";
}

core::Error contextError(Context::ErrorCode code, std::string description) {
    return {Context::kErrorDomain, code, std::move(description), {}};
}

// True when the space-separated extension list names the extension exactly.
bool hasExtension(const char* extensions, const char* name) {
    if (!extensions)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; (at = std::strstr(at, name)); at += length) {
        const bool startsWord = at == extensions || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

// The surfaceless EGL display, initialised on first use and kept for the life of the process:
// terminating it would unload Mesa's driver, stranding what the driver had allocated, and the next
// context would load it all again.
struct SurfacelessDisplay {
    EGLDisplay handle = EGL_NO_DISPLAY;
    std::string error; // why there is none

    static const SurfacelessDisplay& shared() {
        static const SurfacelessDisplay display = open();
        return display;
    }

private:
    static SurfacelessDisplay open() {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless"))
            return {EGL_NO_DISPLAY, "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)"};
        EGLDisplay handle =
            eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (handle == EGL_NO_DISPLAY)
            return {EGL_NO_DISPLAY, eglFailure("no surfaceless EGL display")};
        if (!eglInitialize(handle, nullptr, nullptr))
            return {EGL_NO_DISPLAY, eglFailure("the surfaceless EGL display does not initialise")};
        const char* extensions = eglQueryString(handle, EGL_EXTENSIONS);
        for (const char* needed : {"EGL_KHR_no_config_context", "EGL_KHR_surfaceless_context"}) {
            if (!hasExtension(extensions, needed))
                return {EGL_NO_DISPLAY, std::string("the EGL display lacks ") + needed};
        }
        return {handle, {}};
    }
};

} // namespace

core::Result<std::unique_ptr<Context>> Context::create() {
    const SurfacelessDisplay& display = SurfacelessDisplay::shared();
    if (display.handle == EGL_NO_DISPLAY)
        return contextError(kNoDisplay, display.error);
    if (!eglBindAPI(EGL_OPENGL_ES_API))
        return contextError(kNoContext, eglFailure("EGL does not offer OpenGL ES"));
    const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    EGLContext context = eglCreateContext(display.handle, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT)
        return contextError(kNoContext, eglFailure("no OpenGL ES 2.0 context"));
    return std::unique_ptr<Context>(new Context(display.handle, context));
}

Context::Context(void* display, void* context)
    : m_display(display)
    , m_context(context) {}

Context::~Context() {
    releaseCurrent();
    eglDestroyContext(m_display, m_context);
}

bool Context::makeCurrent() {
    if (isCurrent())
        return true;
    return eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE;
}

bool Context::isCurrent() const {
    return eglGetCurrentContext() == m_context;
}

void Context::releaseCurrent() {
    if (isCurrent())
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

} // namespace gl
