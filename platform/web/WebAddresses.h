#pragma once
// The maker's addresses, in one place. Each can be overridden by an
// environment variable so tests point them at a local server.

#include <QString>

namespace tonara {

QString websiteAddress();       // TONARA_WEBSITE
QString updateHostAddress();    // TONARA_UPDATE_HOST
QString informationHostAddress(); // TONARA_INFO_HOST
// Where users write for help, shown in the about box and the splash window.
QString supportEmailAddress();
// Where the uploader sends files (TONARA_UPLOAD_URL): ftp, http or https,
// the upload name following it. Empty when none is configured.
QString uploadAddress();

// True for an absolute http or https address with a host: the only kind the
// desktop's browser is asked to open.
bool isWebAddress(const QString& address);

} // namespace tonara
