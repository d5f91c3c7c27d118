#pragma once
// Real programs started by a test and ended by it, whatever happens, with a
// private TEMP and the real platform in force.

#include "TempFolders.h"
#include "TestedPlatform.h"

#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace tonara::test {

// The folder of the built programs.
QString programsFolder();
// The real platform with the built programs as its companions.
class BuiltProgramsPlatform : public TestedPlatform {
public:
    QString companionFolder() override { return programsFolder(); }
};
// Copies an executable, keeping it executable; creates the folder.
void copyProgram(const QString& from, const QString& to);
// A file that runs as a copy of sleep, under the same name, in the
// subfolder "real" beside it: started without arguments, it stays until killed.
void writeSleeper(const QString& path);
// The sleeper's own executable, the name it runs under.
QString sleeperImage(const QString& path);

// Pids of the running processes whose executable is exactly path.
std::vector<qint64> runningAs(const QString& path);
// Waits up to ms, letting events run, until condition holds.
bool waitUntil(const std::function<bool()>& condition, int ms);

// This environment with this process as the owner of the tones, as
// startProgram gives it: what this process's KillProcess may end.
QProcessEnvironment ownedEnvironment();

class RealProcessEnvironment {
public:
    RealProcessEnvironment();
    ~RealProcessEnvironment();

    QString temp(const QString& name = {}) const { return folders_.temp(name); }
    // A child process started as startProgram starts one, killed and reaped at
    // the end of the test if still running.
    QProcess& start(const QString& program, const QStringList& arguments = {}, const QString& workingFolder = {});
    // Processes not our children that the test caused; ended at the end of the test.
    void endAtTeardown(const QString& image) { strangers_ << image; }

private:
    TestEnvironment folders_;
    std::vector<std::unique_ptr<QProcess>> children_;
    QStringList strangers_;
};

// A copy of the built programs (tonara_autoplay among them) in a program
// folder of the test's own.
QString programFolderWith(const RealProcessEnvironment& env, const QStringList& programs);

} // namespace tonara::test
