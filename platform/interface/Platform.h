#pragma once
// Every effect the program has on the world outside its own files goes
// through this one interface, so tests can swap in the recording fake.

#include "Signal.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tonara {

struct PcmSound;

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

struct ScreenInfo {
    int dpiX = 96;
    int widthPx = 0;
    int heightPx = 0;
};

// What the operating-system version query answers.
struct VersionAnswer {
    int result = 0;     // 1 on success
    int platformId = 0; // 2: the NT family
    int major = 0;
    int minor = 0;
};

// The sound server's own volume of the output the program plays to.
struct DeviceVolume {
    bool known = false; // false: no server, or it did not answer
    double level = 0.0; // 1 is the server's 100 %
    bool muted = false;
    QString name;       // the output as the server describes it
};

struct ProcessEntry {
    qint64 pid = 0;
    QString imageName; // the executable's path, or the process name when that cannot be read
    bool ownProcess = true; // runs under this program's user: the only ones it may end
    // Started by this program, directly or through relay16 (its TONARA_OWNER_PID names this
    // process): the only tone programs it ends, so another copy's tones go on sounding.
    bool startedHere = true;
};

inline bool imageNameEndsWith(const QString& imageName, const QString& nameEnding) {
    return imageName.endsWith(nameEnding, Qt::CaseInsensitive);
}

// A looping output stream made from a WAV file, beside the player (the
// second output of the default device).
class ToneStream {
public:
    virtual ~ToneStream() = default;
    virtual void play(bool loop) = 0;
    virtual void stop() = 0;
    virtual void setVolume(double gain) = 0;        // 0..1
    virtual void setFrequency(int samplesPerSecond) = 0;
};

// The signal generator's voice: computed as it plays, changed while it
// plays without a click, at its own level (the output volume leaves it be).
class SignalStream {
public:
    virtual ~SignalStream() = default;
    // Starts the signal anew; seconds > 0: it ends by itself after that
    // long, fades included; 0: it plays until stopped.
    virtual void play(const SignalParameters& signal, double seconds) = 0;
    // The signal playing now continues as this one.
    virtual void change(const SignalParameters& signal) = 0;
    virtual void stop() = 0;
};

// The format a capture records in: PCM, 8-bit samples unsigned, 16-bit
// signed little-endian, channels interleaved.
struct CaptureFormat {
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    int channels = 0;
};

// Receives what a capture records. Called on the sound library's own
// thread: it must not allocate, lock or block.
class CaptureReceiver {
public:
    virtual ~CaptureReceiver() = default;
    virtual void captured(const std::uint8_t* bytes, int count) noexcept = 0;
};

// An opened capture device, idle until started. Once it is destroyed the
// receiver is never called again.
class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

// A source the sound server records from (a microphone, or the monitor of
// an output): its name for openCapture and the description a person reads.
struct CaptureSource {
    QString name;
    QString description;
    bool operator==(const CaptureSource&) const = default;
};
struct CaptureSources {
    std::vector<CaptureSource> sources;
    QString defaultName; // the server's default source; "" when unknown
};

class Platform {
public:
    virtual ~Platform() = default;

    // Clock and events.
    // Blocks the calling thread; a termination request that arrives meanwhile
    // is served at once (on the interface thread), window events are not.
    virtual void delay(int ms) = 0;
    virtual qint64 monotonicMs() = 0;
    virtual QDateTime now() = 0;
    virtual void processEvents() = 0;
    // Waits ms while window events are served as they come: a click on Stop
    // during a tone's wait is served at once, not at the wait's end. The
    // wait ends early once done() holds after an event (none: never).
    virtual void serveEvents(int ms, const std::function<bool()>& done = {}) = 0;
    [[noreturn]] virtual void endProgram(int exitCode) = 0;
    // SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C) arrive as a call of
    // handler on the interface thread, from processEvents or the event loop,
    // or from a delay, beep or transfer waiting on that thread.
    virtual void onTerminationRequest(std::function<void()> handler) = 0;

    // Multimedia player: one voice, replaced by each play.
    virtual void playWav(const QString& path, bool loop) = 0; // a missing or unreadable file plays nothing
    // A timed tone: loops the file for durationMs at the sink, then fades.
    // The output knows the end before it sounds, so a late silenceWav (a
    // thread woken late) does not lengthen it, nor does silenceWav shorten it.
    virtual void playWavFor(const QString& path, int durationMs) = 0;
    // Blocks until the timed tone started last has sounded its time by the
    // output's own clock, so that the next one follows it directly. Given
    // servingUntil, window events are served meanwhile and the wait ends
    // early once it holds (as serveEvents).
    virtual void awaitTimedTone(const std::function<bool()>& servingUntil = {}) = 0;
    // Silences the player. A timed tone whose time the program has awaited
    // plays out its last moments; one cut short by a stop fades at once.
    virtual void silenceWav() = 0;
    // A tone of pitch Hz for durationMs, blocking for the duration by the
    // output's clock (as awaitTimedTone; a termination request is served
    // meanwhile, as in delay).
    virtual void beep(int pitch, int durationMs) = 0;
    // Raises a RuntimeError when there is no device or the file cannot be loaded.
    virtual std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) = 0;
    // Raises a RuntimeError when there is no audio output.
    virtual std::unique_ptr<SignalStream> openSignalStream() = 0;
    // A stream of a sound made in memory, at any rate: played once, it
    // sounds every frame as made. Raises a RuntimeError when there is no device.
    virtual std::unique_ptr<ToneStream> openSoundStream(std::shared_ptr<const PcmSound> sound) = 0;
    // Opens a microphone: "" the default one, otherwise a device by name.
    // Raises a RuntimeError when there is none or the format cannot be recorded exactly.
    virtual std::unique_ptr<CaptureDevice> openCapture(const QString& device, const CaptureFormat& format,
                                                       CaptureReceiver& receiver) = 0;
    // The sources the sound server records from, monitors included; none without a server.
    // defaultName is the one openCapture opens for "".
    virtual CaptureSources captureSources() = 0;
    // Frames per second of the audio output; 0 when there is none. Pitches
    // above the band it carries at full level are filtered out (OutputBand.h).
    virtual int outputRate() = 0;
    // A gain on everything the program plays (0..1), ramped, at once; files
    // and the tone programs' requests are not changed by it.
    virtual void setOutputVolume(double gain) = 0;
    // The player's gain in each channel (0..1), for its tone now and after.
    virtual void setPlayerChannels(double left, double right) = 0;
    // The server's volume of the output played to (PULSE_SINK's, else the
    // default), which every program's sound passes.
    virtual DeviceVolume outputDeviceVolume() = 0;
    // Sets it (level clamped to 0..1) and its mute; false when there is no
    // server or it refused.
    virtual bool setOutputDeviceVolume(double level, bool muted) = 0;

    // User interface.
    virtual int messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) = 0;
    // The Open dialog; filter in the "Description|pattern|Description|pattern"
    // form. The chosen path, or empty when cancelled.
    virtual QString openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) = 0;
    virtual ScreenInfo screen() = 0;
    virtual VersionAnswer queryVersion() = 0;
    // The save-file dialog. filter: descriptions and patterns joined by "|"
    // ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"); fileName: the name it
    // offers, or an absolute folder to open in. It asks before a file is
    // replaced and adds no suffix. Empty when cancelled.
    virtual QString saveFileName(const QString& filter, const QString& fileName) = 0;

    // Programs, shell and the web.
    // Starts a program without waiting. Relative names resolve against the
    // companion folder, which is also the started program's working folder.
    // "cmd /c X" runs X and fails silently when X is missing; a missing bare
    // program raises File not found (53), one that cannot be run Permission denied (70).
    // The started program learns which process owns its tones (ToneOwner.h).
    virtual void startProgram(const QString& command, bool hidden) = 0;
    // Opens an http or https address in the desktop's browser; other schemes are refused.
    virtual void openUrl(const QString& address) = 0;
    // The full path of a program found on PATH, or empty.
    virtual QString findProgram(const QString& name) = 0;
    // The processes whose executable's name ends with nameEnding, in any case
    // (empty: every process). Whose they are is read for these alone.
    virtual std::vector<ProcessEntry> processes(const QString& nameEnding) = 0;
    virtual bool terminateProcess(qint64 pid) = 0;
    // Starts the desktop's volume control without waiting; false when none is installed.
    virtual bool startVolumeControl() = 0;

    // Transfers, blocking. download fetches an http or https address whole:
    // the body only when the server answered 200 and sent all of it, nothing
    // otherwise (connect timeout 2 s, total 2.2 s). A termination request
    // during a transfer abandons it and is served at once.
    virtual std::optional<QByteArray> download(const QString& address) = 0;
    // Sends data to an ftp, http or https address (a PUT over http); empty
    // when the server took it, else the reason it did not.
    virtual QString upload(const QByteArray& data, const QString& address) = 0;

    // This program. The command line is its operands joined by single blanks
    // (options and a "--" that ends them left out, CommandLineArguments.h).
    virtual QString commandLine() = 0;
    // The folder of the companion programs: Quillon, relay16, the tone
    // programs, the uploader (ProgramFolders.h).
    virtual QString companionFolder() = 0;
    // The folder of the data files: the language files, the "nl.ini" marker.
    virtual QString dataFolder() = 0;
    virtual QString programPath() = 0; // the running executable
};

// The platform in force: the real one unless a test installed another.
Platform& platform();
void setPlatform(Platform* p); // nullptr restores the real one
// The machine's own, whatever setPlatform was given: for tests at a real server.
Platform& realPlatform();

} // namespace tonara
