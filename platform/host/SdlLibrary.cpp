#include "platform/host/SdlLibrary.h"

#include <dlfcn.h>

namespace host {

namespace {

// The library's name with its ABI version, as the runtime package installs it.
constexpr const char* kSdlLibraryName = "libSDL2-2.0.so.0";

struct Loaded {
    SdlLibrary functions{};
    bool ok = false;
    std::string failure;
};

Loaded load() {
    Loaded loaded;
    // Never unloaded: SDL keeps threads and handlers of its own once started.
    // Bound lazily, as a linked library is: of its dependencies' functions, only those called are looked up.
    void* library = dlopen(kSdlLibraryName, RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        loaded.failure = std::string("cannot load ") + kSdlLibraryName + (why ? std::string(": ") + why : "");
        return loaded;
    }
#define ZEMBRIX_SDL_RESOLVE(name)                                                                 \
    loaded.functions.name = reinterpret_cast<decltype(&::SDL_##name)>(dlsym(library, "SDL_" #name)); \
    if (!loaded.functions.name) {                                                                 \
        loaded.failure = std::string(kSdlLibraryName) + " has no SDL_" #name;                     \
        return loaded;                                                                            \
    }
    ZEMBRIX_SDL_FUNCTIONS(ZEMBRIX_SDL_RESOLVE)
#undef ZEMBRIX_SDL_RESOLVE
    loaded.ok = true;
    return loaded;
}

const Loaded& loaded() {
    static const Loaded library = load();
    return library;
}

} // namespace

const SdlLibrary* SdlLibrary::get() {
    return loaded().ok ? &loaded().functions : nullptr;
}

const std::string& SdlLibrary::loadFailure() {
    return loaded().failure;
}

} // namespace host
