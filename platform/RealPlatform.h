#pragma once
// The platform on this machine: Qt for windows and the desktop, SDL2 for
// sound, /proc for processes.

#include "Platform.h"

namespace tonara {

class RealPlatform : public Platform {
public:
    void delay(int ms) override;
    qint64 monotonicMs() override;
    QDateTime now() override;
    void processEvents() override;
    [[noreturn]] void endProgram(int exitCode) override;
    void onTerminationRequest(std::function<void()> handler) override;

    void playWav(const QString& path, bool loop) override;
    void silenceWav() override;
    void beep(int pitch, int durationMs) override;
    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override;

    int messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    ScreenInfo screen() override;
    VersionAnswer queryVersion() override;

    void startProgram(const QString& command, bool hidden) override;
    void openUrl(const QString& address) override;
    std::vector<ProcessEntry> processes() override;
    bool terminateProcess(qint64 pid) override;

    QString commandLine() override;
    QString programFolder() override;
    QString programPath() override;
};

} // namespace tonara
