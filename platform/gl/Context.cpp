#include "platform/gl/Context.h"

#include <cstdio>
#include <cstring>
#include <mutex>

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

} // namespace

// The surfaceless EGL display, initialised once and terminated when the last context using it is gone
// (eglTerminate acts on the display for the whole process, so no context may outlive it).
class Display {
public:
    static std::shared_ptr<Display> shared(std::string& error) {
        static std::mutex mutex;
        static std::weak_ptr<Display> current;
        std::lock_guard lock(mutex);
        if (auto display = current.lock())
            return display;
        auto display = open(error);
        current = display;
        return display;
    }

    explicit Display(EGLDisplay handle)
        : m_handle(handle) {}
    ~Display() { eglTerminate(m_handle); }

    EGLDisplay handle() const { return m_handle; }

private:
    static std::shared_ptr<Display> open(std::string& error) {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
            error = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
            return nullptr;
        }
        EGLDisplay handle =
            eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (handle == EGL_NO_DISPLAY) {
            error = eglFailure("no surfaceless EGL display");
            return nullptr;
        }
        if (!eglInitialize(handle, nullptr, nullptr)) {
            error = eglFailure("the surfaceless EGL display does not initialise");
            return nullptr;
        }
        const char* extensions = eglQueryString(handle, EGL_EXTENSIONS);
        for (const char* needed : {"EGL_KHR_no_config_context", "EGL_KHR_surfaceless_context"}) {
            if (!hasExtension(extensions, needed)) {
                eglTerminate(handle);
                error = std::string("the EGL display lacks ") + needed;
                return nullptr;
            }
        }
        return std::make_shared<Display>(handle);
    }

    EGLDisplay m_handle;
};

core::Result<std::unique_ptr<Context>> Context::create() {
    std::string error;
    std::shared_ptr<Display> display = Display::shared(error);
    if (!display)
        return contextError(kNoDisplay, error);
    if (!eglBindAPI(EGL_OPENGL_ES_API))
        return contextError(kNoContext, eglFailure("EGL does not offer OpenGL ES"));
    const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    EGLContext context = eglCreateContext(display->handle(), EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT)
        return contextError(kNoContext, eglFailure("no OpenGL ES 2.0 context"));
    return std::unique_ptr<Context>(new Context(std::move(display), context));
}

Context::Context(std::shared_ptr<Display> display, void* context)
    : m_display(std::move(display))
    , m_context(context) {}

Context::~Context() {
    releaseCurrent();
    eglDestroyContext(m_display->handle(), m_context);
}

bool Context::makeCurrent() {
    if (isCurrent())
        return true;
    return eglMakeCurrent(m_display->handle(), EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE;
}

bool Context::isCurrent() const {
    return eglGetCurrentContext() == m_context;
}

void Context::releaseCurrent() {
    if (isCurrent())
        eglMakeCurrent(m_display->handle(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

} // namespace gl
