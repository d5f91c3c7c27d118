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
#define TONARA_CURL_LOOKUP(name) resolve(library, "curl_" #name, f.name, missing);
    TONARA_CURL_FUNCTIONS(TONARA_CURL_LOOKUP)
#undef TONARA_CURL_LOOKUP
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
