#pragma once

#include <string>

#include <curl/curl.h>

namespace net {

// The functions of libcurl the transfers use, from the library loaded (and initialised) the first time
// a request is made rather than with the program: libcurl brings some thirty libraries of its own (TLS,
// Kerberos, LDAP, SSH, IDN...) whose loading would slow every launch, and most launches send nothing.
struct CurlLibrary {
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_getinfo) easyGetinfo;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_strerror) easyStrerror;
    decltype(&curl_slist_append) slistAppend;
    decltype(&curl_slist_free_all) slistFreeAll;
    decltype(&curl_multi_init) multiInit;
    decltype(&curl_multi_cleanup) multiCleanup;
    decltype(&curl_multi_add_handle) multiAddHandle;
    decltype(&curl_multi_remove_handle) multiRemoveHandle;
    decltype(&curl_multi_perform) multiPerform;
    decltype(&curl_multi_poll) multiPoll;
    decltype(&curl_multi_wakeup) multiWakeup;
    decltype(&curl_multi_info_read) multiInfoRead;

    // The library, loaded once for the process (thread-safe); null when it cannot be, with the reason
    // in loadFailure().
    static const CurlLibrary* get();
    static const std::string& loadFailure();
};

} // namespace net
