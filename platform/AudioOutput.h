#pragma once
// The one audio output of the program, at the sound server's own rate:
// opened on the first sound, closed after a few seconds of silence and
// opened again by the next sound. The player, Beep and tone streams are
// voices mixed into it on the audio thread.

#include "Platform.h"

#include <QString>
#include <memory>
#include <optional>

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

    virtual void playWav(const QString& path, bool loop) = 0;
    // Fades the player out once its sound has lasted playedMs at the sink;
    // without it, once it has lasted as long as it has been playing by the
    // clock.
    virtual void silenceWav(std::optional<int> playedMs = std::nullopt) = 0;
    virtual void beep(int pitch, int durationMs) = 0;
    virtual std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) = 0;
    // Frames per second of the output; 0 when there is none.
    virtual int outputRate() = 0;
    // Opens the output if that has not been tried yet.
    virtual AudioDeviceSpec deviceSpec() = 0;
};

} // namespace tonara
