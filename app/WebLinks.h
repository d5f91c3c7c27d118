#pragma once
// The Help menu's links to the maker's web site.

#include "MainWindowNames.h"

#include <QtGlobal>
#include <span>

namespace tonara {

struct WebLink {
    MainControl menuItem;
    const char* menuCaption;
    qint16 errol;         // error location code of the item's handler
    const char* logLine;  // written to the activity log before the page opens
    const char* path;     // on the maker's web site
};

std::span<const WebLink> webLinks();

} // namespace tonara
