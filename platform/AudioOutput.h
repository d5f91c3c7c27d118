#pragma once
// The one audio output of the program, at the sound server's own rate:
// opened on the first sound, closed after a few seconds of silence and
// opened again by the next sound. The player, Beep and tone streams are
// voices mixed into it on the audio thread.

#include "Platform.h"

#include <QString>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace tonara {

// What the device granted; open is false when no output could be opened.
struct AudioDeviceSpec {
    bool open = false;
    QString driver;
    int rate = 0;
    int channels = 0;
    int bufferFrames = 0;
    QString format;
};

class AudioOutput {
public:
    static AudioOutput& instance();
    virtual ~AudioOutput() = default;

    // With timedMs the sound loops for that long at the sink, then fades.
    virtual void playWav(const QString& path, bool loop, std::optional<int> timedMs = std::nullopt) = 0;
    virtual void silenceWav() = 0;
    // A tone of pitch Hz for durationMs, returning at once.
    virtual void startBeep(int pitch, int durationMs) = 0;
    // The same, returning when it has lasted its time.
    void beep(int pitch, int durationMs) {
        const auto started = std::chrono::steady_clock::now();
        startBeep(pitch, durationMs);
        if (durationMs > 0) std::this_thread::sleep_until(started + std::chrono::milliseconds(durationMs));
    }
    virtual std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) = 0;
    // Frames per second of the output; 0 when there is none.
    virtual int outputRate() = 0;
    // Opens the output if that has not been tried yet.
    virtual AudioDeviceSpec deviceSpec() = 0;
    // Before the program ends: a sound that has just ended is still in the
    // sound server's buffer, and closing the output would cut it off.
    // A timed tone still sounding is let finish too. Returns at once when
    // nothing has sounded lately or a sound goes on that only a stop ends.
    virtual void letEndedSoundsPlayOut() = 0;
};

} // namespace tonara
