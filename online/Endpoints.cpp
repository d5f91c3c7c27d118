#include "Endpoints.h"
#include "WebAddresses.h"

namespace tonara {

namespace {
QString onHost(QString host, const char* path) {
    while (host.endsWith('/')) host.chop(1);
    return host + QLatin1String(path);
}
} // namespace

QString updateFileAddress() { return onHost(updateHostAddress(), "/user_files/2013_10/511833/updatetonara.txt"); }
QString connectivityTestAddress() { return onHost(informationHostAddress(), "/testcon.dat"); }
QString newsPageAddress() { return onHost(informationHostAddress(), "/information.html"); }

} // namespace tonara
