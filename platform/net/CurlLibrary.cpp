#include "platform/net/CurlLibrary.h"

#include <dlfcn.h>

namespace net {

namespace {

// The library's name with its ABI version, as the runtime package installs it.
constexpr const char* kCurlLibraryName = "libcurl.so.4";

struct Loaded {
    CurlLibrary functions{};
    bool ok = false;
    std::string failure;
};

Loaded load() {
    Loaded loaded;
    // Never unloaded: transfers may run until the process ends.
    // Bound lazily, as a linked library is: of its dependencies' functions, only those called are looked up.
    void* library = dlopen(kCurlLibraryName, RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        loaded.failure = std::string("cannot load ") + kCurlLibraryName + (why ? std::string(": ") + why : "");
        return loaded;
    }
#define ZEMBRIX_CURL_RESOLVE(name)                                                                     \
    loaded.functions.name = reinterpret_cast<decltype(&::curl_##name)>(dlsym(library, "curl_" #name)); \
    if (!loaded.functions.name) {                                                                      \
        loaded.failure = std::string(kCurlLibraryName) + " has no curl_" #name;                        \
        return loaded;                                                                                 \
    }
    ZEMBRIX_CURL_FUNCTIONS(ZEMBRIX_CURL_RESOLVE)
#undef ZEMBRIX_CURL_RESOLVE
    if (const CURLcode code = loaded.functions.global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK) {
        loaded.failure = "libcurl could not be initialised (" + std::to_string(int(code)) + ")";
        return loaded;
    }
    loaded.ok = true;
    return loaded;
}

const Loaded& loaded() {
    static const Loaded library = load();
    return library;
}

} // namespace

const CurlLibrary* CurlLibrary::get() {
    return loaded().ok ? &loaded().functions : nullptr;
}

const std::string& CurlLibrary::loadFailure() {
    return loaded().failure;
}

} // namespace net
