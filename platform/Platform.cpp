#include "Platform.h"
#include "RealPlatform.h"

namespace tonara {

namespace {
Platform* g_override = nullptr;
}

Platform& platform() {
    if (g_override) return *g_override;
    static RealPlatform real;
    return real;
}

void setPlatform(Platform* p) { g_override = p; }

} // namespace tonara
