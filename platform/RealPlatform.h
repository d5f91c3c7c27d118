#pragma once
// The platform on this machine: Qt for windows and the desktop, the sound
// server (libpulse) for sound, /proc for processes, libcurl for transfers.

#include "Platform.h"

namespace tonara {

class RealPlatform : public Platform {
public:
    void delay(int ms) override;
    qint64 monotonicMs() override;
    QDateTime now() override;
    void processEvents() override;
    void serveEvents(int ms, const std::function<bool()>& done = {}) override;
    [[noreturn]] void endProgram(int exitCode) override;
    void onTerminationRequest(std::function<void()> handler) override;

    void playWav(const QString& path, bool loop) override;
    void playWavFor(const QString& path, int durationMs) override;
    void awaitTimedTone(const std::function<bool()>& servingUntil = {}) override;
    void silenceWav() override;
    void beep(int pitch, int durationMs) override;
    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override;
    std::unique_ptr<SignalStream> openSignalStream() override;
    std::unique_ptr<ToneStream> openSoundStream(std::shared_ptr<const PcmSound> sound) override;
    std::unique_ptr<CaptureDevice> openCapture(const QString& device, const CaptureFormat& format,
                                               CaptureReceiver& receiver) override;
    CaptureSources captureSources() override;
    int outputRate() override;
    void setOutputVolume(double gain) override;
    void setPlayerChannels(double left, double right) override;
    DeviceVolume outputDeviceVolume() override;
    bool setOutputDeviceVolume(double level, bool muted) override;

    int messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) override;
    ScreenInfo screen() override;
    VersionAnswer queryVersion() override;
    QString saveFileName(const QString& filter, const QString& fileName) override;

    void startProgram(const QString& command, bool hidden) override;
    void openUrl(const QString& address) override;
    QString findProgram(const QString& name) override;
    std::vector<ProcessEntry> processes(const QString& nameEnding) override;
    bool terminateProcess(qint64 pid) override;
    bool startVolumeControl() override;

    std::optional<QByteArray> download(const QString& address) override;
    QString upload(const QByteArray& data, const QString& address) override;

    QString commandLine() override;
    QString companionFolder() override;
    QString dataFolder() override;
    QString programPath() override;

private:
    int timedToneMs_ = 0; // the last timed tone's length, for when there is no output
};

} // namespace tonara
