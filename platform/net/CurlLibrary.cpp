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

template <class Function>
bool resolve(void* library, const char* name, Function& function, std::string& failure) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function && failure.empty())
        failure = std::string("libcurl has no ") + name;
    return function != nullptr;
}

Loaded load() {
    Loaded loaded;
    // Never unloaded: transfers may run until the process ends.
    void* library = dlopen(kCurlLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        loaded.failure = std::string("cannot load ") + kCurlLibraryName + (why ? std::string(": ") + why : "");
        return loaded;
    }
    CurlLibrary& f = loaded.functions;
    std::string& failure = loaded.failure;
    decltype(&curl_global_init) globalInit = nullptr;
    const bool resolved =
        resolve(library, "curl_global_init", globalInit, failure) &
        resolve(library, "curl_easy_init", f.easyInit, failure) &
        resolve(library, "curl_easy_cleanup", f.easyCleanup, failure) &
        resolve(library, "curl_easy_setopt", f.easySetopt, failure) &
        resolve(library, "curl_easy_getinfo", f.easyGetinfo, failure) &
        resolve(library, "curl_easy_perform", f.easyPerform, failure) &
        resolve(library, "curl_easy_strerror", f.easyStrerror, failure) &
        resolve(library, "curl_slist_append", f.slistAppend, failure) &
        resolve(library, "curl_slist_free_all", f.slistFreeAll, failure) &
        resolve(library, "curl_multi_init", f.multiInit, failure) &
        resolve(library, "curl_multi_cleanup", f.multiCleanup, failure) &
        resolve(library, "curl_multi_add_handle", f.multiAddHandle, failure) &
        resolve(library, "curl_multi_remove_handle", f.multiRemoveHandle, failure) &
        resolve(library, "curl_multi_perform", f.multiPerform, failure) &
        resolve(library, "curl_multi_poll", f.multiPoll, failure) &
        resolve(library, "curl_multi_wakeup", f.multiWakeup, failure) &
        resolve(library, "curl_multi_info_read", f.multiInfoRead, failure);
    if (!resolved)
        return loaded;
    if (const CURLcode code = globalInit(CURL_GLOBAL_DEFAULT); code != CURLE_OK) {
        failure = "libcurl could not be initialised (" + std::to_string(int(code)) + ")";
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
