#pragma once
// libcurl, opened when the first transfer starts. Linked in, it and what it
// pulls in (TLS, Kerberos, LDAP, SSH…) made every start-up some 15 ms slower,
// though a start-up at the default addresses transfers nothing.

#include <QString>
#include <curl/curl.h>
#include <optional>

namespace tonara {

// The functions the transfers call, each named without its curl_ prefix:
// one list, for the table below and for what is looked up in the library.
#define TONARA_CURL_FUNCTIONS(X)                                                                                     \
    X(easy_init) X(easy_setopt) X(easy_getinfo) X(easy_strerror) X(easy_cleanup) X(multi_init) X(multi_add_handle) \
    X(multi_perform) X(multi_poll) X(multi_info_read) X(multi_remove_handle) X(multi_cleanup) X(slist_append)      \
    X(slist_free_all)

struct CurlFunctions {
#define TONARA_CURL_POINTER(name) decltype(&curl_##name) name = nullptr;
    TONARA_CURL_FUNCTIONS(TONARA_CURL_POINTER)
#undef TONARA_CURL_POINTER
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
