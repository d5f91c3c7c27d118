#include "Download.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "SafeFiles.h"

namespace tonara {

// Replaced in one step, so a reader never sees half a file and a link placed
// at the target is replaced, not followed.
bool Download(const QString& Link, const QString& SaveLocation) {
    const std::optional<QByteArray> body = platform().download(Link);
    if (!body) return false;
    try {
        replaceFileBytes(SaveLocation, *body);
    } catch (const RuntimeError&) {
        return false;
    }
    return true;
}

} // namespace tonara
