#pragma once
// A recording stand-in for the platform. Its clock is virtual: delay and
// beep advance it without sleeping, so timing is tested exactly and at once.

#include "Platform.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <map>

namespace tonara {

// Thrown by the fake's endProgram, so a test sees where the program ended.
struct ProgramEnded {
    int exitCode;
};

struct PlatformRecord {
    qint64 atMs = 0;
    QString kind;   // play, silence, beep, message, start, url, terminate, end, stream-open, stream-play, stream-stop,
                    // stream-frequency (the rate in pitch)
    QString text;   // path, message text, command, address
    QString title;  // message title
    MessageIcon icon = MessageIcon::None;
    int pitch = 0;
    int durationMs = 0;
    bool flag = false;   // play: looping; start: hidden
    QByteArray data;     // play: the file's bytes at the moment of the call
};

class FakePlatform : public Platform {
public:
    FakePlatform();

    // Runs action from processEvents once the clock has reached atMs.
    void at(qint64 atMs, std::function<void()> action);

    std::vector<const PlatformRecord*> all(const QString& kind) const;
    const PlatformRecord* last(const QString& kind) const;
    int count(const QString& kind) const;

    void delay(int ms) override;
    qint64 monotonicMs() override { return clockMs; }
    QDateTime now() override { return startTime.addMSecs(clockMs); }
    void processEvents() override;
    [[noreturn]] void endProgram(int exitCode) override;
    void onTerminationRequest(std::function<void()> handler) override { terminationHandler = std::move(handler); }

    void playWav(const QString& path, bool loop) override;
    void silenceWav() override;
    void beep(int pitch, int durationMs) override;
    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override;

    int messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    ScreenInfo screen() override { return screenInfo; }
    VersionAnswer queryVersion() override { return version; }

    void startProgram(const QString& command, bool hidden) override;
    void openUrl(const QString& address) override;
    std::vector<ProcessEntry> processes() override { return processList; }
    bool terminateProcess(qint64 pid) override;

    QString commandLine() override { return commandLineText; }
    QString programFolder() override { return folder; }
    QString programPath() override { return path; }

    qint64 clockMs = 0;
    QDateTime startTime;
    std::vector<PlatformRecord> records;
    std::deque<int> answers;          // message box answers, in order; OK / No when empty
    ScreenInfo screenInfo{96, 1920, 1080};
    VersionAnswer version{1, 2, 6, 2};
    QString commandLineText;
    QString folder;
    QString path;
    std::vector<ProcessEntry> processList;
    QStringList missingPrograms;      // startProgram raises 53 for these names (bare commands)
    QString noToneStreamReason;       // non-empty: openToneStream raises (no device)
    bool pumpQtEvents = true;         // processEvents also lets Qt deliver its events
    bool exitForReal = false;         // endProgram ends the process (death tests)
    std::function<void()> onProcessEvents;
    std::function<void()> terminationHandler; // what a SIGTERM would run

private:
    std::multimap<qint64, std::function<void()>> schedule_;
};

} // namespace tonara
