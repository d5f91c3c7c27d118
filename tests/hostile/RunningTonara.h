#pragma once
// The built Tonara run as a real process, in folders of its own or as given,
// optionally as another user: started, watched through its activity log and
// ended by a termination signal, with the time each took.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tonara::test {

// The user the tests plant files as and run a second Tonara as (nobody).
constexpr unsigned kOtherUid = 65534;
// Empty when programs can be run as the other user; otherwise why not.
QString whyNotAsOtherUser();
// Runs a command as the other user and waits for it; true when it succeeded.
bool runAsOtherUser(const QStringList& command);

// A valid settings file with the given sound mode code and update check.
QByteArray settingsText(const QString& bit = "256", bool autoUpdate = false);

class RunningTonara {
public:
    // Folders of its own: TEMP (private) and APPDATA with settings.
    explicit RunningTonara(const QByteArray& settings = settingsText());
    ~RunningTonara();
    RunningTonara(const RunningTonara&) = delete;
    RunningTonara& operator=(const RunningTonara&) = delete;

    QProcessEnvironment& environment() { return environment_; }
    QString temp(const QString& name = {}) const;
    QString appData(const QString& name = {}) const;
    // The folder the program writes its activity log in (TEMP unless changed).
    QString logFolder;

    // Starts tonara with the arguments, as the other user when asked.
    void start(const QStringList& arguments = {}, bool asOtherUser = false);
    // Waits until the activity log holds a line starting with text; ms since the start, or -1.
    qint64 waitForLog(const QString& text, int withinMs);
    // Waits until the file exists; ms since the start, or -1.
    qint64 waitForFile(const QString& path, int withinMs);
    // Sends SIGTERM and waits up to withinMs for the end: ms it took, or -1
    // (the program is then killed).
    qint64 terminate(int withinMs = 5000);
    bool running() const { return process_.state() != QProcess::NotRunning; }
    int exitCode() const { return process_.exitCode(); }
    bool crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
    QStringList activityLog() const;

private:
    QTemporaryDir root_;
    QProcessEnvironment environment_;
    QProcess process_;
    qint64 startedMs_ = 0;
};

} // namespace tonara::test
