#include "platform/net/CurlLibrary.h"

#include "platform/core/LazyLibrary.h"

namespace net {

namespace {

// Never closed: transfers may run until the process ends.
const core::LoadedLibrary<CurlLibrary>& loaded() {
    static const auto library =
        core::loadLibrary<CurlLibrary>("libcurl.so.4", [](core::LibrarySymbols& symbols, CurlLibrary& curl) {
#define ZEMBRIX_CURL_FIND(name) symbols.find("curl_" #name, curl.name);
            ZEMBRIX_CURL_FUNCTIONS(ZEMBRIX_CURL_FIND)
#undef ZEMBRIX_CURL_FIND
            if (!symbols.ok())
                return;
            if (const CURLcode code = curl.global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK)
                symbols.fail("libcurl could not be initialised (" + std::to_string(int(code)) + ")");
        });
    return library;
}

} // namespace

const CurlLibrary* CurlLibrary::get() {
    return loaded().get();
}

const std::string& CurlLibrary::loadFailure() {
    return loaded().failure;
}

} // namespace net
