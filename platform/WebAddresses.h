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

} // namespace tonara
