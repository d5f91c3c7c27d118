#pragma once
// The one audio output of the program, at the sound server's own rate,
// opened on the first sound and corked while quiet. The player, Beep and
// tone streams are voices mixed into it on the audio thread.

#include "PcmSound.h"
#include "Platform.h"

#include <QString>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace tonara {

// What the server granted; open is false when no output could be opened.
struct AudioDeviceInfo {
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
    // Fades the player out at once, unless it is a timed tone whose end the
    // program has waited for (msUntilTimedToneEnds said 0): that one sounds
    // its time out.
    virtual void silenceWav() = 0;
    // A timed tone of pitch Hz, which follows a timed tone still sounding.
    virtual void beep(int pitch, int durationMs) = 0;
    // Milliseconds until the timed tone started last has sounded out, less
    // the time a new request takes to be heard: 0 once that moment has
    // come. What the program asks for next then follows the tone directly.
    // Nothing when no timed tone is known. stopMayCutIt: the program serves
    // a Stop while it waits, which must find the tone still its own to stop.
    virtual std::optional<int> msUntilTimedToneEnds(bool stopMayCutIt) = 0;
    // The program pauses on purpose (a delay, an event wait): what it asks
    // for next after a timed tone keeps that distance (TimedFollow.h).
    virtual void programWaits() = 0;
    virtual std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) = 0;
    // A stream of a sound already in memory, at any rate.
    virtual std::unique_ptr<ToneStream> openToneStream(std::shared_ptr<const PcmSound> sound) = 0;
    // Nothing when there is no output.
    virtual std::unique_ptr<SignalStream> openSignalStream() = 0;
    // Frames per second of the output; 0 when there is none.
    virtual int outputRate() = 0;
    // A gain on everything the output plays (0..1, ramped, at once).
    virtual void setVolume(double gain) = 0;
    // The player's gain in each channel, for its sound now and every one after.
    virtual void setPlayerChannels(double left, double right) = 0;
    // Opens the output if that has not been tried yet.
    virtual AudioDeviceInfo deviceInfo() = 0;
    // Times the sound server ran out of our sound while it played.
    virtual long underruns() = 0;
    // Changes the sound server took too late to be heard whole.
    virtual long lateChanges() = 0;
    // Changes for which the server rewound its sink (AudioDriver.h).
    virtual long rewoundChanges() = 0;
    // Before the program ends: what has just been played is still on its
    // way to the listener, and a timed tone may still sound; ending now
    // would cut it off. Returns at once when nothing is on its way or a
    // sound goes on that only a stop ends; waits at most 300 ms.
    virtual void letEndedSoundsPlayOut() = 0;
};

} // namespace tonara
