#pragma once
// The online logic on the recording main window.

#include "ProgramRig.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {

struct OnlineRig : LogicRig {
    OnlineRig() : LogicRig(ErrorWindow::Waits) {}

    QStringList handOver() const { return fileLines(env.temp("snd.ini")); }
};

} // namespace tonara::test
