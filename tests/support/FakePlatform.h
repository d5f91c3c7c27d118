#pragma once
// A recording stand-in for the platform. Its clock is virtual: delay and
// beep advance it without sleeping, so timing is tested exactly and at once.

#include "PcmSound.h"
#include "Platform.h"

#include <QByteArray>
#include <QMap>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <utility>

namespace tonara::test {

// Thrown by the fake's endProgram, so a test sees where the program ended.
struct ProgramEnded {
    int exitCode;
};

// One effect, as the program asked for it. Each field has one meaning; the
// kinds are play, silence, beep, message, open-dialog, save-dialog, start,
// url, terminate, end, stream-open, stream-play, stream-stop,
// stream-frequency, capture-sources, capture-open, capture-start,
// capture-stop, capture-close, download, upload, volume-control,
// device-volume, signal-play, signal-change, signal-stop.
struct PlatformRecord {
    qint64 atMs = 0;
    QString kind;
    QString text;        // path, message text, command, address, capture device
    QString title;       // message, open-dialog
    MessageIcon icon = MessageIcon::None;
    bool yesNo = false;  // message: Yes and No, not OK
    int pitch = 0;       // beep, Hz
    int durationMs = 0;  // beep, a timed play, signal-play (0: until stopped)
    bool looping = false; // play, stream-play
    bool hidden = false;  // start
    QByteArray data;     // play, stream-open: the file's bytes at the moment of the call; upload: what was sent
    QString filter;      // open-dialog, save-dialog
    QString suffix;      // open-dialog: the default suffix
    QString offeredName; // save-dialog: the file name or folder offered
    QString format;      // capture-open: "44100 Hz 16 bits 2 channels"
    int rateHz = 0;      // stream-frequency
    int levelPercent = 0; // device-volume
    bool muted = false;  // device-volume
    qint64 pid = 0;      // terminate
    int exitCode = 0;    // end
};

class FakePlatform : public Platform {
public:
    FakePlatform();

    // Runs action from processEvents once the clock has reached atMs.
    void at(qint64 atMs, std::function<void()> action);

    std::vector<const PlatformRecord*> all(const QString& kind) const;
    const PlatformRecord* last(const QString& kind) const;
    int count(const QString& kind) const;
    // A new record of kind at the present time, to be filled in at once (the next one may move it).
    PlatformRecord& record(const char* kind, const QString& text = {});

    void delay(int ms) override;
    qint64 monotonicMs() override { return clockMs; }
    QDateTime now() override { return startTime.addMSecs(clockMs); }
    void processEvents() override;
    // Runs what is due at its moment within the wait, as the event loop would.
    void serveEvents(int ms, const std::function<bool()>& done = {}) override;
    [[noreturn]] void endProgram(int exitCode) override;
    void onTerminationRequest(std::function<void()> handler) override { terminationHandler = std::move(handler); }

    void playWav(const QString& file, bool loop) override;
    void playWavFor(const QString& file, int durationMs) override; // recorded as a looping play with its duration
    void awaitTimedTone(const std::function<bool()>& servingUntil = {}) override; // the clock moves on to the tone's end
    void silenceWav() override;
    void beep(int pitch, int durationMs) override;
    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override;
    std::unique_ptr<SignalStream> openSignalStream() override;
    // Recorded as a stream-open of "(sound)"; the sound is kept in openedSounds.
    std::unique_ptr<ToneStream> openSoundStream(std::shared_ptr<const PcmSound> sound) override;
    std::unique_ptr<CaptureDevice> openCapture(const QString& device, const CaptureFormat& format,
                                               CaptureReceiver& receiver) override;
    // Records capture-sources; answers captureSourceList, or what capturesPassedTo answers.
    CaptureSources captureSources() override;
    // Hands bytes to the started capture as its audio thread would; any
    // thread may call it while the capture stays open. False when none is started.
    bool feedCapture(const QByteArray& bytes);
    int outputRate() override { return outputRateHz; }
    void setOutputVolume(double gain) override { outputVolume = gain; }
    void setPlayerChannels(double left, double right) override { playerChannels = {left, right}; }
    DeviceVolume outputDeviceVolume() override { return deviceVolume; }
    bool setOutputDeviceVolume(double level, bool muted) override; // recorded as device-volume

    int messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) override;
    ScreenInfo screen() override { return screenInfo; }
    VersionAnswer queryVersion() override { return version; }
    QString saveFileName(const QString& filter, const QString& fileName) override;

    void startProgram(const QString& command, bool hidden) override;
    void openUrl(const QString& address) override;
    QString findProgram(const QString& name) override { return programsOnPath.value(name); }
    std::vector<ProcessEntry> processes(const QString& nameEnding) override;
    bool terminateProcess(qint64 pid) override;
    bool startVolumeControl() override;

    std::optional<QByteArray> download(const QString& address) override;
    QString upload(const QByteArray& data, const QString& address) override;

    QString commandLine() override { return commandLineText; }
    QString companionFolder() override { return companionFolderPath; }
    QString dataFolder() override { return dataFolderPath; }
    QString programPath() override { return path; }

    qint64 clockMs = 0;
    QDateTime startTime;
    std::vector<PlatformRecord> records;
    std::deque<int> answers;          // message box answers, in order; OK / No when empty
    std::deque<QString> chosenFiles;  // open-dialog answers, in order; cancelled when empty
    std::deque<QString> savedNames;   // save-dialog answers, in order; cancelled when empty
    QMap<QString, QString> programsOnPath;
    bool volumeControlInstalled = true;
    ScreenInfo screenInfo{96, 1920, 1080};
    VersionAnswer version{1, 2, 6, 2};
    QString commandLineText;
    QString companionFolderPath;
    QString dataFolderPath;
    QString path;
    std::vector<ProcessEntry> processList;
    QStringList missingPrograms;      // startProgram raises 53 for these names (bare commands)
    QString noToneStreamReason;       // non-empty: openToneStream and openSoundStream raise (no device)
    std::vector<std::shared_ptr<const PcmSound>> openedSounds; // every sound given to openSoundStream
    QString noCaptureReason;          // non-empty: openCapture raises (no microphone)
    CaptureSources captureSourceList; // what captureSources answers
    Platform* capturesPassedTo = nullptr; // set (a real platform): captures are recorded, then opened there
    std::atomic<CaptureReceiver*> startedCapture{nullptr}; // the receiver of the capture now started, if any
    std::map<QString, QByteArray> webFiles; // what download answers, by address; any other address fails
    QString uploadRefusal;            // non-empty: upload fails for this reason
    int outputRateHz = 48000;         // 0: no audio output
    double outputVolume = 1.0;        // the last setOutputVolume
    std::vector<SignalParameters> signalsPlayed; // signal-play and signal-change, in order (duration in the record)
    std::pair<double, double> playerChannels{1.0, 1.0}; // the last setPlayerChannels
    DeviceVolume deviceVolume{true, 1.0, false, "Test output"}; // known false: no server to set it at
    bool pumpQtEvents = true;         // processEvents also lets Qt deliver its events
    bool exitForReal = false;         // endProgram ends the process (death tests)
    std::function<void()> onProcessEvents;
    std::function<void()> terminationHandler; // what a SIGTERM would run

private:
    std::multimap<qint64, std::function<void()>> schedule_;
    qint64 timedToneEndMs_ = 0;
};

} // namespace tonara::test
