#pragma once
// What is fetched from the maker's servers: the hosts are configurable
// (WebAddresses.h), the paths are fixed.

#include <QString>

namespace tonara {

QString updateFileAddress();       // the update host's updatetonara.txt
QString connectivityTestAddress(); // the information host's testcon.dat
QString newsPageAddress();         // the information host's information.html

} // namespace tonara
