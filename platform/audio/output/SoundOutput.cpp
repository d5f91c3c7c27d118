// The real audio output: the engine's voices on the driver's stream.
// Sounds are read and converted to the stream's rate on the interface
// thread, when they are loaded; the driver's thread only mixes.
#include "AudioDriver.h"
#include "AudioEngine.h"
#include "AudioOutput.h"
#include "RateConverter.h"
#include "RealTimePriority.h"
#include "RuntimeError.h"
#include "TimedFollow.h"
#include "WavFile.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tonara {

namespace {

constexpr int kLowestRate = 8000;
constexpr int kHighestRate = 384000;
// Quiet this long, the stream is corked.
constexpr int kRestAfterMs = 1000;
constexpr auto kPlayOutWait = std::chrono::milliseconds(300);
constexpr auto kPlacingWait = std::chrono::milliseconds(500);
// Within kFollowMs the stream has not rested, so its frames kept time with the clock.
static_assert(kFollowMs < kRestAfterMs);
// The driver's thread, below the server's own real-time priority (5): on a
// busy machine a thread of ordinary priority waits long enough for the
// server's queue to run dry.
constexpr int kFeedPriority = 3;

using Clock = std::chrono::steady_clock;

// TONARA_OUTPUT_RATE when it holds a usable rate; 0 for the server's own.
int forcedRate() {
    const int forced = qEnvironmentVariableIntValue("TONARA_OUTPUT_RATE");
    if (forced >= kLowestRate && forced <= kHighestRate) return forced;
    if (!qEnvironmentVariableIsEmpty("TONARA_OUTPUT_RATE"))
        std::fprintf(stderr, "Tonara: TONARA_OUTPUT_RATE must be a rate from %d to %d; using the server's\n",
                     kLowestRate, kHighestRate);
    return 0;
}

std::string programName() {
    if (QCoreApplication::instance() && !QCoreApplication::applicationName().isEmpty())
        return QCoreApplication::applicationName().toStdString();
    return program_invocation_short_name;
}

class SoundOutput;

class StreamVoice : public ToneStream {
public:
    StreamVoice(SoundOutput& output, std::shared_ptr<const PcmSound> original);
    ~StreamVoice() override;
    void play(bool loop) override;
    void stop() override;
    void setVolume(double gain) override;
    void setFrequency(int samplesPerSecond) override;

private:
    void replaceVoice(std::shared_ptr<const PcmSound> sound);

    SoundOutput& output_;
    std::shared_ptr<const PcmSound> original_;
    std::shared_ptr<const PcmSound> converted_;
    Voice* voice_ = nullptr;
    bool playing_ = false;
    bool used_ = false; // the voice has had its one run
    bool loop_ = false;
    float volume_ = 1.0f;
};

class GeneratorStream : public SignalStream {
public:
    explicit GeneratorStream(SoundOutput& output) : output_(output) {}
    ~GeneratorStream() override { stop(); }
    void play(const SignalParameters& signal, double seconds) override;
    void change(const SignalParameters& signal) override;
    void stop() override;

private:
    SoundOutput& output_;
    Voice* voice_ = nullptr;
};

class SoundOutput : public AudioOutput, private AudioFeed {
public:
    ~SoundOutput() override {
        letEndedSoundsPlayOut();
        if (driver_) driver_->close();
    }


    void playWav(const QString& path, bool loop, std::optional<int> timedMs) override {
        if (!start()) return;
        const WavLoad load = loadWav(path);
        const auto sound = converter_.convert(load.sound, engine_->rate(), loop || timedMs);
        dropPlayer();
        if (!sound) return;
        player_ = engine_->add(sound);
        playerAwaited_ = false;
        if (playerLeft_ != 1.0f || playerRight_ != 1.0f) engine_->setGain(player_, playerLeft_, playerRight_);
        // Only a timed tone follows the one before: a sound until Stop starts at once.
        if (timedMs) lastTimed_ = engine_->playFor(player_, framesOf(*timedMs), followsFrames());
        else engine_->play(player_, loop);
        driver_->wake();
    }

    void silenceWav() override {
        if (!opened()) return;
        if (player_ && !playerAwaited_) engine_->stop(player_);
        dropPlayer();
    }

    void beep(int pitch, int durationMs) override {
        if (!start() || durationMs <= 0) return;
        if (pitch != beepPitch_ || !beep_) {
            beep_ = beepSound(pitch, engine_->rate());
            beepPitch_ = pitch;
        }
        Voice* voice = engine_->add(beep_);
        lastTimed_ = engine_->playFor(voice, framesOf(durationMs), followsFrames());
        engine_->release(voice); // a timed tone plays out its time
        driver_->wake();
    }

    std::optional<int> msUntilTimedToneEnds(bool stopMayCutIt) override {
        if (!opened() || !lastTimed_) return std::nullopt;
        const auto giveUp = Clock::now() + kPlacingWait;
        std::optional<std::int64_t> fade;
        while (!(fade = engine_->timedFadeFrame(lastTimed_))) {
            if (Clock::now() >= giveUp) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const std::int64_t due = *fade - driver_->leadFrames() - framesOf(stopMayCutIt ? kAheadOfAStopMs : kAheadMs) -
                                 driver_->playingFrame();
        if (due > 0) return int((due * 1000 + engine_->rate() - 1) / engine_->rate());
        playerAwaited_ = true;
        if (awaited_ != lastTimed_) {
            awaited_ = lastTimed_;
            awaitedAt_ = Clock::now();
            waitedSinceTold_ = false;
        }
        return 0;
    }

    std::unique_ptr<ToneStream> openToneStream(const QString& wavPath) override {
        if (!start()) raise(err::DeviceUnavailable);
        const WavLoad load = loadWav(wavPath);
        switch (load.failure) {
        case WavLoadFailure::None: break;
        case WavLoadFailure::Missing: raise(err::FileNotFound);
        case WavLoadFailure::Unreadable: raise(err::PathFileAccess);
        case WavLoadFailure::NotPcm: throw RuntimeError(err::InvalidFileFormat, "Invalid file format");
        }
        return std::make_unique<StreamVoice>(*this, load.sound);
    }

    std::unique_ptr<ToneStream> openToneStream(std::shared_ptr<const PcmSound> sound) override {
        if (!start()) raise(err::DeviceUnavailable);
        return std::make_unique<StreamVoice>(*this, std::move(sound));
    }

    std::unique_ptr<SignalStream> openSignalStream() override {
        if (!start()) return nullptr;
        return std::make_unique<GeneratorStream>(*this);
    }

    int outputRate() override { return start() ? engine_->rate() : 0; }

    void setVolume(double gain) override {
        volume_ = float(std::clamp(gain, 0.0, 1.0));
        if (!opened()) return; // set when the output opens
        engine_->setMasterGain(volume_);
        driver_->wake();
    }

    void setPlayerChannels(double left, double right) override {
        playerLeft_ = float(std::clamp(left, 0.0, 1.0));
        playerRight_ = float(std::clamp(right, 0.0, 1.0));
        if (!opened() || !player_) return;
        engine_->setGain(player_, playerLeft_, playerRight_);
        driver_->wake();
    }

    AudioDeviceInfo deviceInfo() override {
        if (!start()) return {};
        return {true, QString::fromStdString(driver_->serverName()), engine_->rate(), 2, driver_->bufferFrames(), "s16le"};
    }

    long underruns() override { return opened() ? driver_->underruns() : 0; }
    long lateChanges() override { return opened() ? driver_->lateChanges() : 0; }
    long rewoundChanges() override { return opened() ? driver_->rewoundChanges() : 0; }

    void letEndedSoundsPlayOut() override {
        if (!opened()) return;
        const auto giveUp = Clock::now() + kPlayOutWait;
        while (Clock::now() < giveUp) {
            const std::int64_t quiet = engine_->quietFrom();
            if (!engine_->pending() && (quiet == kNever || driver_->playingFrame() >= quiet)) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // The sound at the output's rate; silence of the same length when it
    // cannot be converted, so a stream still behaves.
    std::shared_ptr<const PcmSound> converted(const std::shared_ptr<const PcmSound>& sound) {
        auto made = converter_.convert(sound, engine_->rate(), true);
        return made ? made : beepSound(0, engine_->rate());
    }
    AudioEngine& engine() { return *engine_; }
    void wake() { driver_->wake(); }

    // For a timed tone asked for now: how long after the end of the timed
    // tone the program has just waited for; -1 when it follows none.
    std::int64_t followsFrames() {
        if (awaited_ == 0) return -1;
        awaited_ = 0;
        const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - awaitedAt_).count();
        return followingFrames(since, waitedSinceTold_, engine_->rate());
    }

    void programWaits() override { waitedSinceTold_ = true; }

private:
    std::int64_t framesOf(int ms) const { return std::int64_t(ms) * engine_->rate() / 1000; }

    void dropPlayer() {
        engine_->release(player_);
        player_ = nullptr;
        engine_->collect();
        driver_->wake();
    }

    // Tried once: a machine without a sound server stays silent rather than
    // paying for a failed connection on every tone.
    bool start() {
        if (!tried_) {
            tried_ = true;
            open();
        }
        return engine_ != nullptr;
    }

    // Open, once a sound has opened it: what needs no output opens none.
    bool opened() const { return engine_ != nullptr; }

    void open() {
        auto driver = makePulseDriver();
        // The driver's thread starts here and keeps this priority.
        const RealTimePriority feedPriority(kFeedPriority);
        const std::string program = programName();
        int rate = forcedRate();
        if (rate == 0) rate = driver->serverRate(program);
        if (rate == 0) return;
        engine_ = std::make_unique<AudioEngine>(rate);
        if (volume_ != 1.0f) engine_->setMasterGain(volume_);
        if (!driver->open(rate, *this, program)) {
            engine_.reset();
            return;
        }
        driver_ = std::move(driver);
    }

    // AudioFeed, on the driver's thread.
    std::int64_t takeChanges(std::int64_t earliest) noexcept override { return engine_->take(earliest); }

    void fill(std::int16_t* out, std::int64_t from, int frames) noexcept override { engine_->mix(out, from, frames); }

    bool resting(std::int64_t playing) const noexcept override {
        const std::int64_t quiet = engine_->quietFrom();
        if (quiet == kNever || engine_->pending()) return false;
        return playing - std::max<std::int64_t>(quiet, 0) >= std::int64_t(engine_->rate()) * kRestAfterMs / 1000;
    }

    bool tried_ = false;
    std::unique_ptr<AudioDriver> driver_;
    std::unique_ptr<AudioEngine> engine_;
    RateConverter converter_;
    Voice* player_ = nullptr;
    bool playerAwaited_ = false; // the program has waited out the player's timed tone
    float playerLeft_ = 1.0f, playerRight_ = 1.0f;
    float volume_ = 1.0f;
    std::uint64_t lastTimed_ = 0; // the engine's number of the timed tone asked for last
    std::uint64_t awaited_ = 0;   // the timed tone the program was told has ended, until the next play
    Clock::time_point awaitedAt_;
    bool waitedSinceTold_ = false; // the program has paused on purpose since awaitedAt_
    std::shared_ptr<const PcmSound> beep_;
    int beepPitch_ = 0;
};

// A timed signal sounds its seconds whole: its fade-out lies within them.
void GeneratorStream::play(const SignalParameters& signal, double seconds) {
    stop();
    AudioEngine& engine = output_.engine();
    voice_ = engine.addSignal(signal);
    if (seconds > 0) {
        const std::int64_t fade = std::int64_t(engine.rate()) * AudioEngine::kSignalFadeMs / 1000;
        engine.playFor(voice_, std::max<std::int64_t>(0, std::llround(seconds * engine.rate()) - fade));
    } else {
        engine.play(voice_, true);
    }
    output_.wake();
}

void GeneratorStream::change(const SignalParameters& signal) {
    if (!voice_) return;
    output_.engine().setSignal(voice_, signal);
    output_.wake();
}

void GeneratorStream::stop() {
    if (!voice_) return;
    output_.engine().stop(voice_);
    output_.engine().release(voice_);
    output_.engine().collect();
    voice_ = nullptr;
    output_.wake();
}

StreamVoice::StreamVoice(SoundOutput& output, std::shared_ptr<const PcmSound> original)
    : output_(output), original_(std::move(original)), converted_(output_.converted(original_)) {
    voice_ = output_.engine().add(converted_);
}

StreamVoice::~StreamVoice() {
    output_.engine().release(voice_);
    output_.wake();
}

// A voice has one run: playing again after a stop takes a new one, which
// follows the old one's fade.
void StreamVoice::play(bool loop) {
    if (playing_) return;
    if (used_) replaceVoice(converted_);
    playing_ = true;
    used_ = true;
    loop_ = loop;
    output_.engine().play(voice_, loop);
    output_.wake();
}

void StreamVoice::stop() {
    playing_ = false;
    output_.engine().stop(voice_);
    output_.wake();
}

void StreamVoice::setVolume(double gain) {
    volume_ = float(std::clamp(gain, 0.0, 1.0));
    output_.engine().setGain(voice_, volume_, volume_);
    output_.wake();
}

void StreamVoice::replaceVoice(std::shared_ptr<const PcmSound> sound) {
    output_.engine().release(voice_);
    voice_ = output_.engine().add(std::move(sound));
    output_.engine().setGain(voice_, volume_, volume_);
    output_.engine().collect();
}

// The sound is converted anew as if it had been made at that rate.
void StreamVoice::setFrequency(int samplesPerSecond) {
    auto retimed = std::make_shared<PcmSound>(*original_);
    retimed->rate = std::clamp(samplesPerSecond, kLowestRate / 80, kHighestRate);
    converted_ = output_.converted(retimed);
    replaceVoice(converted_);
    used_ = false;
    if (playing_) {
        playing_ = false;
        play(loop_);
    } else {
        output_.wake();
    }
}

} // namespace

AudioOutput& AudioOutput::instance() {
    static SoundOutput output;
    return output;
}

} // namespace tonara
