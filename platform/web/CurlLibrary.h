#pragma once
// libcurl, opened when the first transfer starts. Linked in, it and what it
// pulls in (TLS, Kerberos, LDAP, SSH…) made every start-up some 15 ms slower,
// though a start-up at the default addresses transfers nothing.

#include <QString>
#include <curl/curl.h>
#include <optional>

namespace tonara {

struct CurlFunctions {
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

struct CurlLibrary {
    std::optional<CurlFunctions> functions; // once the library is open and initialised
    QString failure;                        // why not, otherwise
};

// Opens the library of that name and initialises it. It stays loaded.
CurlLibrary openCurlLibrary(const char* soname);
// The system's libcurl, opened by the first call.
const CurlLibrary& curlLibrary();

} // namespace tonara
