#pragma once
// The program's voices, mixed into one stereo stream. The interface thread
// asks (add, play, stop, change the gain, release) through a queue; the
// audio thread takes the requests, places each at a frame of the stream
// and mixes, without a lock and without allocating. Voices the audio thread
// no longer needs come back through a second queue and are freed on the
// interface thread.
//
// Placement:
// - A request takes effect at the earliest frame the sound server has not
//   yet played (the driver says which), never later: a stop is heard at
//   once, however long ago its tone started.
// - No two tones sum: a voice that starts waits until every older voice on
//   its way out (fading, or timed to end) has fallen silent, and a short gap
//   more, so two tones are always heard as two.
// - A request may say it follows the timed tone placed last, and how long
//   after that tone's end: it starts exactly there (at the gap when it came
//   at once), however late the request arrived, as long as that frame is
//   still ahead. The program learns of a timed tone's end a little before
//   it sounds, so the elements of a Morse letter, the tones of a tone file
//   and the sweep's steps follow one another evenly, and a pause the
//   program makes after a tone is heard as long as it made it.
//
// Frames are the stream's own: the sound card's clock is the clock of every
// placement, and the engine reads no clock of its own.

#include "GainRamp.h"
#include "SpscQueue.h"
#include "Voice.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tonara {

class AudioEngine {
public:
    static constexpr int kFadeMs = 4;
    static constexpr int kGainRampMs = 5;
    // A generated signal fades in and out, and changes its waveform, over this.
    static constexpr int kSignalFadeMs = 5;
    // Silence after an outgoing voice before the next starts.
    static constexpr double kGapMs = 1.0;
    explicit AudioEngine(int rate);
    ~AudioEngine(); // frees every voice; the audio thread must have stopped
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    int rate() const { return rate_; }

    // Interface thread. A voice stays valid until it is released and the
    // audio thread has handed it back (collect frees it).
    Voice* add(std::shared_ptr<const PcmSound> sound);
    // follows: frames after the end of the timed tone placed last at which
    // to start (not before it and the gap have passed); negative: at once.
    void play(Voice* voice, bool loop, std::int64_t follows = -1);
    // A voice computed as it is mixed (Voice's generated signal); played
    // and stopped like any other, its signal changed by setSignal.
    // dithered: for a 16-bit stream (Voice).
    Voice* addSignal(const SignalParameters& signal, bool dithered = true);
    void setSignal(Voice* voice, const SignalParameters& signal);
    // Loops the sound for exactly frames, then fades. A release lets it
    // finish. Returns the number by which timedFadeFrame knows it.
    std::uint64_t playFor(Voice* voice, std::int64_t frames, std::int64_t follows = -1);
    void stop(Voice* voice);
    // The voice's gain in each channel (ramped; 1: as the sound was made).
    void setGain(Voice* voice, float left, float right);
    // A gain on everything the output plays, on top of each voice's, but
    // generated signals (their level is the generator's own).
    void setMasterGain(float gain);
    // Stops the voice (a timed one plays out its time) and frees it once silent.
    void release(Voice* voice);
    // Frees the voices the audio thread has handed back.
    void collect();
    int voicesHeld() const { return held_; }

    // Any thread, as of the audio thread's last take: the first frame from
    // which nothing sounds (kNever while a sound only a stop ends goes on).
    std::int64_t quietFrom() const { return quietFrom_.load(std::memory_order_acquire); }
    // Any thread: requests wait to be taken.
    bool pending() const { return !requests_.empty(); }
    // Interface thread: where the fade of the timed tone `number` (from
    // playFor) begins, once the audio thread has placed it.
    std::optional<std::int64_t> timedFadeFrame(std::uint64_t number) const;

    // Audio thread. Places and applies the waiting requests; earliest is the
    // first frame the server has not played. Returns the first frame whose
    // sound changed (kNever when none did): from there the stream must be
    // mixed anew.
    std::int64_t take(std::int64_t earliest);
    // Writes frames [from, from + frames) of the stream (interleaved stereo).
    void mix(float* out, std::int64_t from, int frames) const;
    // The same as 16-bit samples, rounded; a sum too loud clips, never wraps.
    void mix(std::int16_t* out, std::int64_t from, int frames);

private:
    enum class Kind { Add, Play, PlayFor, Stop, Gain, MasterGain, Release, Signal };
    struct Request {
        Kind kind = Kind::Add;
        Voice* voice = nullptr;
        std::int64_t frames = 0;
        float gain = 1.0f;
        bool loop = false;
        std::int64_t follows = -1;
        float rightGain = 1.0f;
        SignalParameters signal{};
    };

    void send(const Request& request);
    // Audio thread.
    std::int64_t apply(const Request& request);
    std::int64_t startFrame(const Voice& voice, std::int64_t at) const;
    void retireSilent();
    void publishQuiet();

    const int rate_;
    const int fadeFrames_;
    const int signalFadeFrames_;
    const int rampFrames_;
    const std::int64_t gapFrames_;

    SpscQueue<Request> requests_;
    SpscQueue<Voice*> finished_;
    std::atomic<std::int64_t> quietFrom_;
    std::atomic<std::uint64_t> timedPlaced_{0}; // the number of the timed tone placed last
    std::atomic<std::int64_t> timedFade_{kNever}; // and where its fade begins
    // Interface thread.
    int held_ = 0; // voices not yet freed
    std::uint64_t timedAsked_ = 0;

    // Audio thread.
    std::vector<Voice*> voices_; // oldest first; capacity reserved up front
    std::int64_t earliest_ = 0;
    std::int64_t retiredSoundEnd_ = std::numeric_limits<std::int64_t>::min();
    // The timed tone placed last, and where it fades and falls silent (kept
    // once the voice itself is gone).
    const Voice* lastTimed_ = nullptr;
    std::int64_t lastTimedFade_ = kNever;
    std::int64_t lastTimedSilent_ = kNever;
    std::vector<float> scratch_;
    GainRamp master_;
};

} // namespace tonara
