#pragma once
// Mixes the program's voices into one stereo output. The interface thread
// adds, plays, stops and frees voices; the audio thread mixes them without
// taking a lock or allocating: it reads an immutable list of voices through
// an atomic pointer, and the interface thread retires old lists (and the
// voices they held) once the audio thread has moved on. Every sound is
// already at the output's rate when it is added.
//
// No two tones sum: a voice asked to start waits until every older voice
// that is on its way out (fading, or timed to end) has fallen silent. A
// timed tone sounds for its time from where its request is placed (by the
// moment it was made, see CallPlacement), then fades.

#include "CallPlacement.h"
#include "WavFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace tonara {

class Voice {
public:
    Voice(std::shared_ptr<const PcmSound> sound, int fadeFrames);

    // Interface thread. Play starts at the first frame unless the voice is
    // already playing, in which case only the looping changes.
    void play(bool loop);
    // Loops the sound for exactly frames, then fades.
    void playFor(std::int64_t frames);
    // Fades out once the voice has sounded as long as it has been playing
    // by the interface thread's clock.
    void stop();
    void setVolume(float gain);
    // Nothing left to sound and every request taken.
    bool silent() const;

    // Audio thread: adds frames [0, frames) of the buffer that starts at
    // stream frame `at` to out (interleaved stereo). A voice that is asked
    // to start does so at frame quietFrom of the buffer, or waits when that
    // lies beyond it. Returns the frame up to which this voice is on its
    // way out in this buffer (0 when it is not).
    // A play starts no earlier than placement puts its call.
    int mixInto(float* out, int frames, std::int64_t at, int quietFrom, CallPlacement& placement);
    bool sounding() const { return mode_ != Mode::Idle; } // audio thread
    // Audio thread: sounding, and it will not fall silent by itself.
    bool endless() const;

private:
    enum class Mode : std::uint32_t { Idle, Waiting, Playing, Fading };
    // StopAfterPlay: a stop that directly follows a play, which the audio
    // thread may not have seen yet.
    enum Kind : std::uint64_t { StopRequest = 0, PlayOnce = 1, PlayLoop = 2, PlayTimed = 3, StopAfterPlay = 4 };
    // One word: serial (16 bits), kind (3 bits), frames (the rest): a
    // timed tone's length, or for a stop the frames since the play.
    void request(Kind kind, std::int64_t frames);
    void takeRequest(std::int64_t at, CallPlacement& placement);
    void startFading();
    int render(float* out, int from, int to, std::int64_t at, float volume);

    const std::shared_ptr<const PcmSound> sound_;
    const int fadeFrames_;

    std::atomic<std::uint64_t> request_{0};
    std::atomic<std::int64_t> calledNs_{0}; // steady clock of the latest request, published with it
    std::atomic<float> volume_{1.0f};
    // The serial of the last request taken while the voice was idle, or
    // kSounding: how the interface thread sees that the voice is silent.
    std::atomic<std::uint32_t> quietSerial_{0};

    // Interface thread only.
    std::chrono::steady_clock::time_point playedAt_;
    bool lastWasPlay_ = false;

    // Audio thread only.
    std::uint32_t takenSerial_ = 0;
    Mode mode_ = Mode::Idle;
    bool loop_ = false;
    bool restartAfterFade_ = false;
    std::int64_t seenAt_ = 0;    // stream frame at which the last play starts (or was first seen)
    std::int64_t endAt_ = -1;    // stream frame at which a timed tone starts to fade; -1: none
    std::int64_t position_ = 0;  // frame of the sound
    int fadeLeft_ = 0;
};

class Mixer {
public:
    static constexpr int kFadeMs = 4;

    // placeByCallTime: requests keep their distance in time (CallPlacement),
    // for an output that a real clock takes in bursts.
    explicit Mixer(int deviceRate, bool placeByCallTime = false);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int deviceRate() const { return deviceRate_; }

    // Interface thread. The sound must be at the device's rate. The voice
    // belongs to the mixer; the pointer stays valid until release.
    Voice* add(std::shared_ptr<const PcmSound> sound);
    // Fades the voice out and frees it once it is silent (during a later collect).
    void release(Voice* voice);
    // A voice that loops the sound for frames, then fades and is freed.
    void playDetachedFor(std::shared_ptr<const PcmSound> sound, std::int64_t frames);
    // Frees released voices that have fallen silent, and the lists the audio
    // thread no longer reads.
    void collect();
    int voiceCount() const { return int(voices_.size()); }

    // Any thread: frames mixed since a voice last sounded or waited to.
    std::int64_t framesSinceSound() const;
    // Any thread: a voice sounds, as of the last buffer, that only a stop ends.
    bool endlessSound() const { return endlessSound_.load(std::memory_order_relaxed); }
    // Any thread: frames mixed so far.
    std::int64_t framesMixed() const { return streamFrame_.load(std::memory_order_relaxed); }

    // Audio thread.
    void mix(float* out, int frames);
    void mix(std::int16_t* out, int frames);

private:
    struct Entry {
        std::unique_ptr<Voice> voice;
        bool released = false;
    };
    using VoiceList = std::vector<Voice*>;
    struct Retired {
        std::unique_ptr<VoiceList> list;
        std::vector<std::unique_ptr<Voice>> voices; // freed with the list
    };
    void publish(std::vector<std::unique_ptr<Voice>> removed);
    void freeRetired();
    const VoiceList* acquireList();

    static constexpr int kScratchFrames = 1024;

    const int deviceRate_;
    // Interface thread.
    std::vector<Entry> voices_; // oldest first
    std::deque<Retired> retired_;
    // Shared.
    std::atomic<VoiceList*> published_;
    std::atomic<const VoiceList*> inUse_{nullptr};
    std::atomic<std::int64_t> streamFrame_{0}; // written by the audio thread only
    std::atomic<std::int64_t> lastSoundAt_{0};
    std::atomic<bool> endlessSound_{false};
    // Audio thread.
    std::vector<float> scratch_;
    CallPlacement placement_;
};

// One second of a sine of pitch Hz at rate, from phase 0, amplitude 30000 of
// 32768: looped, it is seamless. Silent when the rate cannot carry the pitch.
std::shared_ptr<const PcmSound> beepSound(int pitch, int rate);

} // namespace tonara
