#pragma once

#include <string>

#include <curl/curl.h>

namespace net {

// The functions of libcurl the transfers use (named as libcurl's without the prefix), listed once.
#define ZEMBRIX_CURL_FUNCTIONS(X)                                                                          \
    X(global_init) X(easy_init) X(easy_cleanup) X(easy_setopt) X(easy_getinfo)                             \
    X(easy_strerror) X(slist_append) X(slist_free_all) X(multi_init) X(multi_cleanup) X(multi_add_handle)  \
    X(multi_remove_handle) X(multi_perform) X(multi_poll) X(multi_wakeup) X(multi_info_read)

// libcurl, loaded (and initialised) the first time a request is made rather than with the program:
// it brings some thirty libraries of its own (TLS, Kerberos, LDAP, SSH, IDN...) whose loading would
// slow every launch, and most launches send nothing.
struct CurlLibrary {
#define ZEMBRIX_CURL_MEMBER(name) decltype(&::curl_##name) name;
    ZEMBRIX_CURL_FUNCTIONS(ZEMBRIX_CURL_MEMBER)
#undef ZEMBRIX_CURL_MEMBER

    // The library, loaded once for the process (thread-safe); null when it cannot be, with the reason
    // in loadFailure().
    static const CurlLibrary* get();
    static const std::string& loadFailure();
};

} // namespace net
