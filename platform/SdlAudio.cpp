// The real audio output: one SDL2 device at the sound server's own rate,
// fed by the mixer from SDL's audio thread. Sounds are converted to that
// rate when they are loaded, on the interface thread.
#include "AudioEnvironment.h"
#include "AudioOutput.h"
#include "Mixer.h"
#include "RateConverter.h"
#include "RuntimeError.h"
#include "WavFile.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sched.h>
#include <thread>

namespace tonara {

namespace {

constexpr int kFallbackRate = 48000;
constexpr int kLowestRate = 8000;
constexpr int kHighestRate = 384000;
constexpr double kBufferMs = 5.0; // per callback; the server buffers more (kServerBufferMs)
constexpr int kInvalidFileFormat = 321;
// SDL2 goes on streaming silence while paused, so a quiet output is closed.
constexpr auto kIdleBeforeClosing = std::chrono::seconds(3);
constexpr auto kIdleCheckPeriod = std::chrono::milliseconds(500);
constexpr int kServerBufferFillMs = kServerBufferMs + 10;
constexpr auto kSteadyStreamWait = std::chrono::milliseconds(200);
constexpr auto kPlayOutWait = std::chrono::milliseconds(300);

using Clock = std::chrono::steady_clock;

// Real-time priority for the threads that feed the sound server, below
// the server's own (5): on a busy machine a thread of ordinary priority
// waits long enough for the server's buffer to run dry.
constexpr int kFeedPriority = 3;

// Makes the calling thread a real-time one while it lives, where the system
// allows it; threads started meanwhile keep that priority.
class RealTimePriority {
public:
    explicit RealTimePriority(int priority) {
        old_ = sched_getscheduler(0);
        sched_getparam(0, &oldParam_);
        sched_param raised{};
        raised.sched_priority = priority;
        raised_ = old_ >= 0 && sched_setscheduler(0, SCHED_RR, &raised) == 0;
    }
    ~RealTimePriority() {
        if (raised_) sched_setscheduler(0, old_, &oldParam_);
    }

private:
    int old_ = -1;
    sched_param oldParam_{};
    bool raised_ = false;
};

void feed(void* userdata, Uint8* stream, int len) {
    static_cast<Mixer*>(userdata)->mix(reinterpret_cast<std::int16_t*>(stream), len / int(2 * sizeof(std::int16_t)));
}

QString formatName(SDL_AudioFormat format) {
    switch (format) {
    case AUDIO_S16LSB: return "s16le";
    case AUDIO_S16MSB: return "s16be";
    case AUDIO_F32LSB: return "f32le";
    case AUDIO_F32MSB: return "f32be";
    case AUDIO_S32LSB: return "s32le";
    case AUDIO_U8: return "u8";
    default: return QString("0x%1").arg(format, 4, 16, QChar('0'));
    }
}

// TONARA_OUTPUT_RATE when it holds a usable rate, else the rate of the
// server's default output, else 48 kHz.
int chooseRate() {
    const int forced = qEnvironmentVariableIntValue("TONARA_OUTPUT_RATE");
    if (forced >= kLowestRate && forced <= kHighestRate) return forced;
    if (!qEnvironmentVariableIsEmpty("TONARA_OUTPUT_RATE"))
        std::fprintf(stderr, "Tonara: TONARA_OUTPUT_RATE must be a rate from %d to %d; using the server's\n",
                     kLowestRate, kHighestRate);
    char* name = nullptr;
    SDL_AudioSpec spec{};
    const bool known = SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0;
    SDL_free(name);
    return known && spec.freq >= kLowestRate && spec.freq <= kHighestRate ? spec.freq : kFallbackRate;
}

int bufferFramesFor(int rate) {
    int frames = 1;
    while (frames * 2 <= rate * kBufferMs / 1000.0) frames *= 2;
    return frames;
}

class SdlAudio;

class SdlToneStream : public ToneStream {
public:
    SdlToneStream(SdlAudio& output, std::shared_ptr<Mixer> mixer, std::shared_ptr<const PcmSound> original,
                  Voice* voice)
        : output_(output), mixer_(std::move(mixer)), original_(std::move(original)), voice_(voice) {}
    ~SdlToneStream() override { mixer_->release(voice_); }
    void play(bool loop) override;
    void stop() override {
        playing_ = false;
        voice_->stop();
    }
    void setVolume(double gain) override {
        volume_ = float(gain);
        voice_->setVolume(volume_);
    }
    void setFrequency(int samplesPerSecond) override;

private:
    SdlAudio& output_;
    std::shared_ptr<Mixer> mixer_; // outlives the output when a stream is dropped late
    std::shared_ptr<const PcmSound> original_;
    Voice* voice_;
    bool playing_ = false;
    bool loop_ = false;
    float volume_ = 1.0f;
};

class SdlAudio : public AudioOutput {
public:
    ~SdlAudio() override {
        letEndedSoundsPlayOut();
        {
            std::lock_guard lock(deviceMutex_);
            ending_ = true;
        }
        wake_.notify_all();
        if (idleWatch_.joinable()) idleWatch_.join();
        if (device_) SDL_CloseAudioDevice(device_);
        if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void playWav(const QString& path, bool loop, std::optional<int> timedMs) override {
        if (!run()) return;
        const WavLoad load = loadWav(path);
        const auto sound = converter_.convert(load.sound, mixer_->deviceRate(), loop);
        dropPlayer();
        if (!sound) return;
        player_ = mixer_->add(sound);
        if (timedMs) player_->playFor(std::int64_t(*timedMs) * mixer_->deviceRate() / 1000);
        else player_->play(loop);
    }

    void silenceWav() override {
        if (mixer_) dropPlayer();
    }

    void startBeep(int pitch, int durationMs) override {
        if (run() && durationMs > 0) {
            if (pitch != beepPitch_ || !beep_) {
                beep_ = beepSound(pitch, mixer_->deviceRate());
                beepPitch_ = pitch;
            }
            mixer_->collect();
            mixer_->playDetachedFor(beep_, std::int64_t(mixer_->deviceRate()) * durationMs / 1000);
        }
    }

    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override {
        if (!start()) raise(err::DeviceUnavailable);
        mixer_->collect();
        const WavLoad load = loadWav(wavPath);
        switch (load.failure) {
        case WavLoadFailure::None: break;
        case WavLoadFailure::Missing: raise(err::FileNotFound);
        case WavLoadFailure::Unreadable: raise(err::PathFileAccess);
        case WavLoadFailure::NotPcm: throw RuntimeError(kInvalidFileFormat, "Invalid file format");
        }
        return std::make_unique<SdlToneStream>(*this, mixer_, load.sound, addConverted(load.sound, true));
    }

    int outputRate() override { return start() ? mixer_->deviceRate() : 0; }

    // What the mixer made reaches the sink a server buffer later.
    void letEndedSoundsPlayOut() override {
        if (!mixer_) return;
        const std::int64_t buffered = std::int64_t(mixer_->deviceRate()) * kServerBufferFillMs / 1000;
        const auto giveUp = Clock::now() + kPlayOutWait;
        // A timed tone may still sound: placed by its call, it can end after
        // the program's own clock says.
        const auto playingOut = [&] {
            const std::int64_t quiet = mixer_->framesSinceSound();
            return quiet == 0 ? mixer_->framesMixed() > 0 && !mixer_->endlessSound() : quiet < buffered;
        };
        while (playingOut() && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    AudioDeviceSpec deviceSpec() override {
        run();
        std::lock_guard lock(deviceMutex_);
        return spec_;
    }

    // A voice of the sound at the output's rate; a placeholder of silence
    // when it cannot be converted, so the stream still behaves.
    Voice* addConverted(const std::shared_ptr<const PcmSound>& sound, bool looping) {
        auto converted = converter_.convert(sound, mixer_->deviceRate(), looping);
        if (!converted) converted = beepSound(0, mixer_->deviceRate());
        return mixer_->add(std::move(converted));
    }

    // Opens the output again if it was closed for being quiet; false when
    // there is none.
    bool run() {
        if (!start()) return false;
        std::unique_lock lock(deviceMutex_);
        lastUse_ = Clock::now();
        if (device_) return true;
        if (!openDevice()) return false;
        lock.unlock();
        awaitSteadyStream();
        return true;
    }

private:
    void dropPlayer() {
        mixer_->release(player_);
        player_ = nullptr;
    }

    // Tried once: a machine without a sound server stays silent rather than
    // paying for a failed connection on every tone.
    bool start() {
        if (tried_) return mixer_ != nullptr;
        tried_ = true;
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tonara");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Tonara tones");
        // SDL's PulseAudio client starts the thread that talks to the server here.
        const RealTimePriority feedPriority(kFeedPriority);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "Tonara: no audio output (%s)\n", SDL_GetError());
            return false;
        }
        sdlStarted_ = true;
        auto mixer = std::make_shared<Mixer>(chooseRate(), true);
        {
            std::lock_guard lock(deviceMutex_);
            mixer_ = mixer;
            if (!openDevice()) {
                mixer_ = nullptr;
                return false;
            }
        }
        idleWatch_ = std::thread([this] { closeWhenQuiet(); });
        awaitSteadyStream();
        return true;
    }

    // Under deviceMutex_. SDL's audio thread starts here.
    bool openDevice() {
        const RealTimePriority feedPriority(kFeedPriority);
        SDL_AudioSpec want{};
        want.freq = mixer_->deviceRate();
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = Uint16(bufferFramesFor(want.freq));
        want.callback = &feed;
        want.userdata = mixer_.get();
        SDL_AudioSpec have{};
        // Rate, format and channels stay as asked: SDL converts if the server differs.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
        if (!device_) {
            std::fprintf(stderr, "Tonara: no audio output (%s)\n", SDL_GetError());
            return false;
        }
        spec_ = AudioDeviceSpec{true, QString::fromUtf8(SDL_GetCurrentAudioDriver()), have.freq, have.channels,
                                have.samples, formatName(have.format)};
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    // A stream just opened drops what it gets while the server starts it, so
    // the first sound waits until the stream has taken a buffer's worth.
    void awaitSteadyStream() {
        const std::int64_t opened = mixer_->framesMixed();
        const auto giveUp = Clock::now() + kSteadyStreamWait;
        while (mixer_->framesMixed() - opened < std::int64_t(mixer_->deviceRate()) * kServerBufferFillMs / 1000 &&
               Clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Its own thread: the interface thread may be asleep in a delay.
    void closeWhenQuiet() {
        std::unique_lock lock(deviceMutex_);
        while (!ending_) {
            wake_.wait_for(lock, kIdleCheckPeriod);
            const auto quietFor = std::chrono::duration<double>(mixer_->framesSinceSound()) / mixer_->deviceRate();
            if (device_ && Clock::now() - lastUse_ >= kIdleBeforeClosing && quietFor >= kIdleBeforeClosing) {
                SDL_CloseAudioDevice(device_);
                device_ = 0;
                spec_.open = false;
            }
        }
    }

    // Interface thread.
    bool tried_ = false;
    bool sdlStarted_ = false;
    std::shared_ptr<Mixer> mixer_;
    RateConverter converter_;
    Voice* player_ = nullptr;
    std::shared_ptr<const PcmSound> beep_;
    int beepPitch_ = 0;

    // Shared with the idle watch.
    std::mutex deviceMutex_;
    std::condition_variable wake_;
    SDL_AudioDeviceID device_ = 0;
    AudioDeviceSpec spec_;
    Clock::time_point lastUse_ = Clock::now();
    bool ending_ = false;
    std::thread idleWatch_;
};

void SdlToneStream::play(bool loop) {
    output_.run();
    playing_ = true;
    loop_ = loop;
    voice_->play(loop);
}

// The sound is converted anew as if it had been made at that rate; the new
// voice follows the old one's fade, as any replacing voice does.
void SdlToneStream::setFrequency(int samplesPerSecond) {
    auto retimed = std::make_shared<PcmSound>(*original_);
    retimed->rate = std::clamp(samplesPerSecond, kLowestRate / 80, kHighestRate);
    Voice* next = output_.addConverted(retimed, true);
    next->setVolume(volume_);
    mixer_->release(voice_);
    voice_ = next;
    if (playing_) play(loop_);
}

} // namespace

AudioOutput& AudioOutput::instance() {
    static SdlAudio output;
    return output;
}

} // namespace tonara
