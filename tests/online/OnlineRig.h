#pragma once
// Shared set-up for the online tests: fresh folders, the fake platform, a
// fake main window, and environment variables restored afterwards.

#include "FakeMainWindow.h"
#include "TempFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {

// Sets (or, with an empty value, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        if (value.isEmpty()) qunsetenv(name);
        else qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

struct OnlineRig {
    TestEnvironment env;
    FakeMainWindow window;

    QStringList activityLog() const { return fileLines(env.temp("userdata.txt")); }
    QStringList handOver() const { return fileLines(env.temp("snd.ini")); }
};

} // namespace tonara::test
