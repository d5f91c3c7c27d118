#include "Mixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

Voice::Voice(std::shared_ptr<const PcmSound> sound, int deviceRate, int fadeFrames)
    : sound_(std::move(sound)), deviceRate_(deviceRate), fadeFrames_(std::max(1, fadeFrames)),
      sourceRate_(sound_->rate) {}

void Voice::request(Kind kind) {
    const std::uint32_t serial = (request_.load(std::memory_order_relaxed) >> 2) + 1;
    request_.store(serial << 2 | kind, std::memory_order_release);
}

void Voice::play(bool loop) { request(loop ? PlayLoop : PlayOnce); }
void Voice::stop() { request(StopRequest); }
void Voice::setVolume(float gain) { volume_.store(std::clamp(gain, 0.0f, 1.0f), std::memory_order_relaxed); }
void Voice::setSourceRate(int framesPerSecond) { sourceRate_.store(std::max(1, framesPerSecond), std::memory_order_relaxed); }

void Voice::takeRequest() {
    const std::uint32_t word = request_.load(std::memory_order_acquire);
    const std::uint32_t serial = word >> 2;
    if (serial == takenSerial_) return;
    takenSerial_ = serial;
    const auto kind = Kind(word & 3);
    if (kind == StopRequest) {
        if (mode_ == Mode::Playing) {
            mode_ = Mode::Fading;
            fadeLeft_ = fadeFrames_;
        }
        return;
    }
    loop_ = kind == PlayLoop;
    if (mode_ != Mode::Playing) {
        mode_ = Mode::Playing;
        position_ = 0.0;
    }
}

bool Voice::silent() const {
    return mode_ == Mode::Idle && (request_.load(std::memory_order_acquire) >> 2) == takenSerial_;
}

void Voice::mixInto(float* out, int frames) {
    takeRequest();
    if (mode_ == Mode::Idle) return;

    const float* pcm = sound_->samples.data();
    const int count = sound_->frameCount();
    const double step = double(sourceRate_.load(std::memory_order_relaxed)) / double(deviceRate_);
    const float volume = volume_.load(std::memory_order_relaxed);

    for (int i = 0; i < frames; ++i) {
        const int at = int(position_);
        const double frac = position_ - at;
        const int next = at + 1 < count ? at + 1 : (loop_ ? 0 : at);
        float gain = volume;
        if (mode_ == Mode::Fading) gain *= float(fadeLeft_) / float(fadeFrames_);
        out[2 * i] += gain * float(pcm[2 * at] + (pcm[2 * next] - pcm[2 * at]) * frac);
        out[2 * i + 1] += gain * float(pcm[2 * at + 1] + (pcm[2 * next + 1] - pcm[2 * at + 1]) * frac);

        position_ += step;
        if (position_ >= count) {
            if (!loop_) {
                mode_ = Mode::Idle;
                return;
            }
            position_ = std::fmod(position_, double(count));
        }
        if (mode_ == Mode::Fading && --fadeLeft_ <= 0) {
            mode_ = Mode::Idle;
            return;
        }
    }
}

Mixer::Mixer(int deviceRate) : deviceRate_(deviceRate), scratch_(size_t(kScratchFrames) * 2) {}

Mixer::~Mixer() = default;

Voice* Mixer::insert(std::shared_ptr<const PcmSound> sound, bool playNow, bool loop, bool released) {
    auto voice = std::make_unique<Voice>(std::move(sound), deviceRate_, deviceRate_ * kFadeMs / 1000);
    if (playNow) voice->play(loop);
    Voice* handle = voice.get();
    std::lock_guard lock(mutex_);
    voices_.push_back(Entry{std::move(voice), released});
    return handle;
}

Voice* Mixer::add(std::shared_ptr<const PcmSound> sound, bool playNow, bool loop) {
    return insert(std::move(sound), playNow, loop, false);
}

void Mixer::playDetached(std::shared_ptr<const PcmSound> sound) { insert(std::move(sound), true, false, true); }

void Mixer::release(Voice* voice) {
    if (!voice) return;
    voice->stop();
    std::lock_guard lock(mutex_);
    for (auto& e : voices_)
        if (e.voice.get() == voice) e.released = true;
}

void Mixer::collect() {
    std::vector<Entry> finished;
    {
        std::lock_guard lock(mutex_);
        auto done = [](const Entry& e) { return e.released && e.voice->silent(); };
        for (auto& e : voices_)
            if (done(e)) finished.push_back(std::move(e));
        std::erase_if(voices_, [](const Entry& e) { return !e.voice; });
    }
    // The sounds are freed here, outside the lock.
}

int Mixer::voiceCount() {
    std::lock_guard lock(mutex_);
    return int(voices_.size());
}

void Mixer::mix(float* out, int frames) {
    std::fill(out, out + size_t(frames) * 2, 0.0f);
    std::lock_guard lock(mutex_);
    for (auto& e : voices_) e.voice->mixInto(out, frames);
}

void Mixer::mix(std::int16_t* out, int frames) {
    while (frames > 0) {
        const int chunk = std::min(frames, kScratchFrames);
        mix(scratch_.data(), chunk);
        for (int i = 0; i < chunk * 2; ++i) {
            const float scaled = std::nearbyint(scratch_[size_t(i)] * 32768.0f);
            out[i] = std::int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
        }
        out += chunk * 2;
        frames -= chunk;
    }
}

std::shared_ptr<const PcmSound> beepSound(int pitch, int durationMs, int rate) {
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate;
    const int frames = std::max(1, int(qint64(rate) * std::max(0, durationMs) / 1000));
    sound->samples.assign(size_t(frames) * 2, 0.0f);
    if (pitch <= 0 || 2 * pitch >= rate) return sound; // nothing the output could carry
    const int fade = std::min(frames, rate * Mixer::kFadeMs / 1000);
    const double step = 2.0 * std::numbers::pi * pitch / rate;
    for (int n = 0; n < frames; ++n) {
        double v = std::sin(step * n) * (30000.0 / 32768.0);
        if (n >= frames - fade) v *= double(frames - n) / fade;
        sound->samples[size_t(n) * 2] = sound->samples[size_t(n) * 2 + 1] = float(v);
    }
    return sound;
}

} // namespace tonara
