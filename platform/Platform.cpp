#include "Platform.h"
#include "RealPlatform.h"

namespace tonara {

namespace {
Platform* g_override = nullptr;
}

Platform& realPlatform() {
    static RealPlatform real;
    return real;
}

Platform& platform() { return g_override ? *g_override : realPlatform(); }

void setPlatform(Platform* p) { g_override = p; }

} // namespace tonara
