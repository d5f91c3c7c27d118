#pragma once
// Mixes the program's voices into one stereo output. The interface thread
// adds voices and sends them requests; the audio thread mixes. Requests
// travel through atomics; the voice list is guarded by a mutex that the
// interface thread holds only to add or remove a pointer. Sounds are
// decoded and freed on the interface thread, never on the audio thread.

#include "WavFile.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tonara {

class Voice {
public:
    Voice(std::shared_ptr<const PcmSound> sound, int deviceRate, int fadeFrames);

    // Interface thread. Play starts at the first frame unless the voice is
    // already playing, in which case only the looping changes.
    void play(bool loop);
    void stop(); // fades out
    void setVolume(float gain);
    void setSourceRate(int framesPerSecond);

    // Audio thread: adds this voice's next frames to out (interleaved stereo).
    void mixInto(float* out, int frames);
    // Audio-thread view, read under the mixer's lock.
    bool silent() const;

private:
    enum class Mode { Idle, Playing, Fading };
    enum Kind : std::uint32_t { StopRequest = 0, PlayOnce = 1, PlayLoop = 2 };
    void request(Kind kind);
    void takeRequest();

    const std::shared_ptr<const PcmSound> sound_;
    const int deviceRate_;
    const int fadeFrames_;

    std::atomic<std::uint32_t> request_{0}; // serial << 2 | kind
    std::atomic<float> volume_{1.0f};
    std::atomic<int> sourceRate_;

    // Audio thread only.
    std::uint32_t takenSerial_ = 0;
    Mode mode_ = Mode::Idle;
    bool loop_ = false;
    double position_ = 0.0; // in source frames
    int fadeLeft_ = 0;
};

class Mixer {
public:
    static constexpr int kFadeMs = 4;

    explicit Mixer(int deviceRate);
    ~Mixer();

    int deviceRate() const { return deviceRate_; }

    // Interface thread. The voice belongs to the mixer; the pointer stays
    // valid until release.
    Voice* add(std::shared_ptr<const PcmSound> sound, bool playNow, bool loop);
    // A voice that plays once and is freed after it has ended.
    void playDetached(std::shared_ptr<const PcmSound> sound);
    // Fades the voice out and frees it once it is silent (during a later collect).
    void release(Voice* voice);
    // Frees released voices that have fallen silent.
    void collect();
    int voiceCount();

    // Audio thread.
    void mix(float* out, int frames);
    void mix(std::int16_t* out, int frames);

private:
    struct Entry {
        std::unique_ptr<Voice> voice;
        bool released = false;
    };
    Voice* insert(std::shared_ptr<const PcmSound> sound, bool playNow, bool loop, bool released);
    static constexpr int kScratchFrames = 1024;

    const int deviceRate_;
    std::mutex mutex_;
    std::vector<Entry> voices_;
    std::vector<float> scratch_;
};

// A sine of pitch Hz for durationMs at rate, starting at phase 0 and fading
// out over its last few milliseconds, amplitude 30000 of 32768.
std::shared_ptr<const PcmSound> beepSound(int pitch, int durationMs, int rate);

} // namespace tonara
