#include "CurlLibrary.h"

#include <dlfcn.h>

namespace tonara {

namespace {

template <typename Function>
void resolve(void* library, const char* name, Function& function, QString& missing) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function && missing.isEmpty()) missing = QString::fromLatin1(name);
}

} // namespace

CurlLibrary openCurlLibrary(const char* soname) {
    CurlLibrary opened;
    void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        opened.failure = QString("%1 could not be loaded: %2").arg(soname, QString::fromLocal8Bit(::dlerror()));
        return opened;
    }
    CurlFunctions f{};
    QString missing;
    decltype(&curl_global_init) global_init = nullptr;
    resolve(library, "curl_global_init", global_init, missing);
    resolve(library, "curl_easy_init", f.easy_init, missing);
    resolve(library, "curl_easy_setopt", f.easy_setopt, missing);
    resolve(library, "curl_easy_getinfo", f.easy_getinfo, missing);
    resolve(library, "curl_easy_strerror", f.easy_strerror, missing);
    resolve(library, "curl_easy_cleanup", f.easy_cleanup, missing);
    resolve(library, "curl_multi_init", f.multi_init, missing);
    resolve(library, "curl_multi_add_handle", f.multi_add_handle, missing);
    resolve(library, "curl_multi_perform", f.multi_perform, missing);
    resolve(library, "curl_multi_poll", f.multi_poll, missing);
    resolve(library, "curl_multi_info_read", f.multi_info_read, missing);
    resolve(library, "curl_multi_remove_handle", f.multi_remove_handle, missing);
    resolve(library, "curl_multi_cleanup", f.multi_cleanup, missing);
    resolve(library, "curl_slist_append", f.slist_append, missing);
    resolve(library, "curl_slist_free_all", f.slist_free_all, missing);
    if (!missing.isEmpty()) {
        opened.failure = QString("%1 has no %2").arg(soname, missing);
    } else if (global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        opened.failure = QString("%1 could not be initialised").arg(soname);
    } else {
        opened.functions = f;
        return opened;
    }
    ::dlclose(library);
    return opened;
}

const CurlLibrary& curlLibrary() {
    // The ABI name every libcurl since 7.16 carries.
    static const CurlLibrary system = openCurlLibrary("libcurl.so.4");
    return system;
}

} // namespace tonara
