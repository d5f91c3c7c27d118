#pragma once
// One sound of the output, described by where in the stream it starts,
// whether it loops, where it fades out and at what gain, never by what has
// been mixed before. Any stretch of the stream can therefore be mixed again
// after a change (a stop, a new tone), and what the sound server had queued
// is replaced from that frame on.
//
// A voice plays one run: started once, stopped or timed once. A sound that
// should play again takes a new voice.

#include "GainRamp.h"
#include "PcmSound.h"
#include "SignalRenderer.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace tonara {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

class Voice {
public:
    Voice(std::shared_ptr<const PcmSound> sound, int fadeFrames, int gainRampFrames);
    // A generated signal, computed as it is mixed: it fades in as it fades
    // out, plays until stopped or timed, and is not under the master gain
    // (its level is its own).
    // dithered: triangular dither of one 16-bit step is added wherever the
    // signal sounds, so the 16-bit stream carries its rounding error as
    // faint noise, not as harmonics of the tone.
    Voice(const SignalParameters& signal, int rate, int fadeFrames, int gainRampFrames, bool dithered);

    // Audio thread. The voice sounds from frame `at` (frame 0 of the sound
    // there); a timed one fades out after timedFrames, else only a stop or
    // the sound's end (playing once) ends it.
    void start(std::int64_t at, bool loop, std::int64_t timedFrames = -1);
    // Fades out from `at`; a voice that would only start later never sounds.
    void stop(std::int64_t at);
    // Ramps to the gains of the two channels from `at` on (GainRamp).
    void setGain(std::int64_t at, float left, float right);
    // From `at` on: the signal's level and channel ramp to the new ones;
    // a new frequency or sweep continues the phase; a new waveform is
    // crossfaded over the fade's length.
    void setSignal(std::int64_t at, const SignalParameters& signal);
    bool underMasterGain() const { return !generated_; }
    // Adds frames [from, from + frames) of the stream to out (interleaved stereo).
    void mixInto(float* out, std::int64_t from, int frames) const;

    bool started() const { return start_ != kNever; }
    bool timed() const { return timed_; }
    std::int64_t startFrame() const { return start_; }
    // Where its fade-out begins; kNever when none is due.
    std::int64_t fadeFrame() const { return fadeAt_; }
    // The first frame from which it never sounds again: the stream's first
    // frame for a voice that has not started, kNever for one that only a
    // stop ends.
    std::int64_t silentFrom() const;
    // Sounding at `at` and due to fall silent by itself or by a stop.
    bool onItsWayOut(std::int64_t at) const { return fadeAt_ != kNever && silentFrom() > at; }

    // Audio thread: released by the interface thread, freed once silent.
    bool released = false;

private:
    float fadeAt(std::int64_t frame) const;
    float fadeInAt(std::int64_t frame) const;
    void mixSignalInto(float* out, std::int64_t from, int frames) const;
    void holdSignalGains();

    const std::shared_ptr<const PcmSound> sound_;
    const int fadeFrames_;
    std::int64_t start_ = kNever;
    std::int64_t fadeAt_ = kNever;
    bool loop_ = false;
    bool timed_ = false;
    GainRamp gain_;

    // A generated signal: the renderer whose frame 0 is segmentStart_, and
    // the one before it while they are crossfaded from crossFrom_.
    bool generated_ = false;
    bool dithered_ = false;
    int rate_ = 0;
    SignalParameters signal_;
    SignalRenderer current_, previous_;
    std::int64_t segmentStart_ = 0, previousStart_ = 0, crossFrom_ = kNever;
    mutable std::vector<float> rendered_, crossed_; // audio thread only; sized up front
};

} // namespace tonara
