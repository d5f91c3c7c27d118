// The real audio output: one SDL2 device, opened on first use and kept
// running, fed by the mixer from SDL's audio thread.
#include "AudioOutput.h"
#include "Mixer.h"
#include "RuntimeError.h"
#include "WavFile.h"

#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tonara {

namespace {

constexpr int kDeviceRate = 96000; // tones up to 32 kHz pass; the sound server resamples for the hardware
constexpr int kBufferFrames = 512;
constexpr int kInvalidFileFormat = 321;
// SDL asks PulseAudio for a server buffer of one callback buffer (5 ms),
// which drops out as soon as another program keeps a core busy; 20 ms holds.
constexpr const char* kServerBufferMs = "20";

// Sets an environment variable for the lifetime of the object, unless the user set it.
class DefaultEnvironment {
public:
    DefaultEnvironment(const char* name, const char* value) : name_(name), wasSet_(std::getenv(name) != nullptr) {
        if (!wasSet_) setenv(name, value, 0);
    }
    ~DefaultEnvironment() {
        if (!wasSet_) unsetenv(name_);
    }

private:
    const char* name_;
    bool wasSet_;
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

class SdlToneStream : public ToneStream {
public:
    SdlToneStream(std::shared_ptr<Mixer> mixer, Voice* voice) : mixer_(std::move(mixer)), voice_(voice) {}
    ~SdlToneStream() override {
        mixer_->release(voice_);
        mixer_->collect();
    }
    void play(bool loop) override { voice_->play(loop); }
    void stop() override { voice_->stop(); }
    void setVolume(double gain) override { voice_->setVolume(float(gain)); }
    void setFrequency(int samplesPerSecond) override { voice_->setSourceRate(samplesPerSecond); }

private:
    std::shared_ptr<Mixer> mixer_; // outlives the output when a stream is dropped late
    Voice* voice_;
};

class SdlAudio : public AudioOutput {
public:
    ~SdlAudio() override {
        if (device_) SDL_CloseAudioDevice(device_);
        if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void playWav(const QString& path, bool loop) override {
        if (!ensureOpen()) return;
        dropPlayer();
        const WavLoad load = loadWav(path);
        if (load.sound) player_ = mixer_->add(load.sound, true, loop);
    }

    void silenceWav() override {
        if (!ensureOpen()) return;
        dropPlayer();
    }

    void beep(int pitch, int durationMs) override {
        if (ensureOpen()) {
            mixer_->collect();
            mixer_->playDetached(beepSound(pitch, durationMs, mixer_->deviceRate()));
        }
        if (durationMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
    }

    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override {
        if (!ensureOpen()) raise(err::DeviceUnavailable);
        mixer_->collect();
        const WavLoad load = loadWav(wavPath);
        switch (load.failure) {
        case WavLoadFailure::None: break;
        case WavLoadFailure::Missing: raise(err::FileNotFound);
        case WavLoadFailure::Unreadable: raise(err::PathFileAccess);
        case WavLoadFailure::NotPcm: throw RuntimeError(kInvalidFileFormat, "Invalid file format");
        }
        return std::make_unique<SdlToneStream>(mixer_, mixer_->add(load.sound, false, false));
    }

    AudioDeviceSpec deviceSpec() override {
        ensureOpen();
        return spec_;
    }

private:
    void dropPlayer() {
        mixer_->release(player_);
        player_ = nullptr;
        mixer_->collect();
    }

    // Tried once: a machine without a sound server stays silent rather than
    // paying for a failed connection on every tone.
    bool ensureOpen() {
        if (tried_) return device_ != 0;
        tried_ = true;
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tonara");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Tonara tones");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "Tonara: no audio output (%s)\n", SDL_GetError());
            return false;
        }
        sdlStarted_ = true;

        mixer_ = std::make_shared<Mixer>(kDeviceRate);
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kBufferFrames;
        want.callback = &feed;
        want.userdata = mixer_.get();
        SDL_AudioSpec have{};
        // Rate, format and channels stay as asked: SDL converts if the server differs.
        {
            const DefaultEnvironment serverBuffer("PULSE_LATENCY_MSEC", kServerBufferMs); // read when the stream connects
            device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
        }
        if (!device_) {
            std::fprintf(stderr, "Tonara: no audio output (%s)\n", SDL_GetError());
            return false;
        }
        spec_ = AudioDeviceSpec{true, QString::fromUtf8(SDL_GetCurrentAudioDriver()), have.freq, have.channels,
                                have.samples, formatName(have.format)};
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    bool tried_ = false;
    bool sdlStarted_ = false;
    SDL_AudioDeviceID device_ = 0;
    std::shared_ptr<Mixer> mixer_;
    Voice* player_ = nullptr;
    AudioDeviceSpec spec_;
};

} // namespace

AudioOutput& AudioOutput::instance() {
    static SdlAudio output;
    return output;
}

} // namespace tonara
