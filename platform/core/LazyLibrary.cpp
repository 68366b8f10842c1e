#include "platform/core/LazyLibrary.h"

#include <dlfcn.h>

namespace core {

void* LibrarySymbols::lookUp(const char* name) {
    void* symbol = dlsym(m_library, name);
    if (!symbol)
        fail(m_fileName + " has no " + name);
    return symbol;
}

void* openLibrary(const std::string& fileName, std::string& failure) {
    void* library = dlopen(fileName.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        failure = "cannot load " + fileName + (why ? std::string(": ") + why : "");
    }
    return library;
}

} // namespace core
