#include "WebAddresses.h"

#include <QUrl>

namespace tonara {

namespace {
QString envOr(const char* name, const char* fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : v;
}
} // namespace

// The maker's own hosts; example.invalid never resolves, so nothing leaves
// the machine unless a real address is configured.
QString websiteAddress() { return envOr("TONARA_WEBSITE", "https://tonara.example.invalid"); }
QString updateHostAddress() { return envOr("TONARA_UPDATE_HOST", "https://update.tonara.example.invalid"); }
QString informationHostAddress() { return envOr("TONARA_INFO_HOST", "https://info.tonara.example.invalid"); }
QString supportEmailAddress() { return QStringLiteral("support@tonara.example.invalid"); }
QString uploadAddress() { return qEnvironmentVariable("TONARA_UPLOAD_URL"); }

bool isWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == "http" || url.scheme() == "https") && !url.host().isEmpty();
}

} // namespace tonara
