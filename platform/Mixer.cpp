#include "Mixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tonara {

namespace {

constexpr int kSerialShift = 48;
constexpr int kKindShift = 45;
constexpr std::uint64_t kFramesMask = (std::uint64_t(1) << kKindShift) - 1;
constexpr std::uint32_t kSerialMask = 0xFFFF;
constexpr std::uint32_t kSounding = 0xFFFFFFFF; // never a serial
// Requests keep their distance in time while the output sounds, and this
// long after (a Morse word space, a pause in a tone file).
constexpr int kPlacementMemorySeconds = 2;

std::uint32_t serialOf(std::uint64_t word) { return std::uint32_t(word >> kSerialShift); }

std::int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Voice::Voice(std::shared_ptr<const PcmSound> sound, int fadeFrames)
    : sound_(std::move(sound)), fadeFrames_(std::max(1, fadeFrames)), playedAt_(std::chrono::steady_clock::now()) {}

void Voice::request(Kind kind, std::int64_t frames) {
    if (kind == StopRequest && lastWasPlay_) kind = StopAfterPlay;
    lastWasPlay_ = kind != StopRequest && kind != StopAfterPlay;
    const std::uint32_t serial = (serialOf(request_.load(std::memory_order_relaxed)) + 1) & kSerialMask;
    const auto length = std::uint64_t(std::clamp<std::int64_t>(frames, 0, std::int64_t(kFramesMask)));
    calledNs_.store(steadyNs(), std::memory_order_relaxed);
    request_.store(std::uint64_t(serial) << kSerialShift | std::uint64_t(kind) << kKindShift | length,
                   std::memory_order_release);
}

void Voice::play(bool loop) {
    playedAt_ = std::chrono::steady_clock::now();
    request(loop ? PlayLoop : PlayOnce, 0);
}

void Voice::playFor(std::int64_t frames) {
    playedAt_ = std::chrono::steady_clock::now();
    request(PlayTimed, frames);
}

void Voice::stop() {
    const auto played = std::chrono::steady_clock::now() - playedAt_;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(played).count();
    request(StopRequest, std::int64_t(double(ns) * sound_->rate / 1e9));
}

void Voice::setVolume(float gain) { volume_.store(std::clamp(gain, 0.0f, 1.0f), std::memory_order_relaxed); }

bool Voice::silent() const {
    return quietSerial_.load(std::memory_order_acquire) == serialOf(request_.load(std::memory_order_acquire));
}

void Voice::startFading() {
    mode_ = Mode::Fading;
    fadeLeft_ = fadeFrames_;
}

void Voice::takeRequest(std::int64_t at, CallPlacement& placement) {
    const std::uint64_t word = request_.load(std::memory_order_acquire);
    const std::uint32_t serial = serialOf(word);
    if (serial == takenSerial_) return;
    const auto kind = Kind((word >> kKindShift) & 7);
    // A play and its stop can both arrive between two buffers.
    const bool missedPlay = kind == StopAfterPlay && ((serial - takenSerial_) & kSerialMask) >= 2;
    takenSerial_ = serial;
    const auto frames = std::int64_t(word & kFramesMask);

    if (kind == StopRequest || kind == StopAfterPlay) {
        const bool starting = mode_ == Mode::Waiting || (mode_ == Mode::Fading && restartAfterFade_);
        if (mode_ == Mode::Idle && missedPlay && frames > 0) {
            mode_ = Mode::Waiting;
            loop_ = true;
            seenAt_ = at;
        }
        if (mode_ == Mode::Fading) {
            // The voice's own fade goes on; a restart asked for in the meantime may still be due.
            const std::int64_t end = seenAt_ + frames;
            if (!starting || end <= at) restartAfterFade_ = false;
            else endAt_ = endAt_ < 0 ? end : std::min(endAt_, end);
            return;
        }
        if (mode_ == Mode::Idle) return;
        const std::int64_t end = seenAt_ + frames;
        endAt_ = endAt_ < 0 ? end : std::min(endAt_, end);
        if (endAt_ <= at) {
            if (mode_ == Mode::Playing) startFading();
            else mode_ = Mode::Idle;
        }
        return;
    }

    loop_ = kind != PlayOnce;
    const std::int64_t startAt = placement.frameFor(calledNs_.load(std::memory_order_relaxed), at);
    switch (mode_) {
    case Mode::Playing:
        endAt_ = kind == PlayTimed ? startAt + frames : -1;
        break;
    case Mode::Fading:
        restartAfterFade_ = true;
        seenAt_ = startAt;
        endAt_ = kind == PlayTimed ? startAt + frames : -1;
        break;
    case Mode::Idle:
    case Mode::Waiting:
        mode_ = Mode::Waiting;
        seenAt_ = startAt;
        endAt_ = kind == PlayTimed ? startAt + frames : -1;
        break;
    }
}

// Plays or fades frames [from, to) of the buffer; returns where it stopped
// (before `to` when a sound that plays once ends, or a fade ends).
int Voice::render(float* out, int from, int to, std::int64_t at, float volume) {
    const float* pcm = sound_->samples.data();
    const std::int64_t count = sound_->frameCount();
    int i = from;
    while (i < to) {
        int n = int(std::min<std::int64_t>(to - i, count - position_));
        if (mode_ == Mode::Fading) n = std::min(n, fadeLeft_);
        const float* in = pcm + position_ * 2;
        float* o = out + std::ptrdiff_t(i) * 2;
        if (mode_ == Mode::Fading) {
            for (int k = 0; k < n; ++k) {
                const float gain = volume * float(fadeLeft_ - k) / float(fadeFrames_);
                o[2 * k] += gain * in[2 * k];
                o[2 * k + 1] += gain * in[2 * k + 1];
            }
            fadeLeft_ -= n;
        } else {
            for (int k = 0; k < 2 * n; ++k) o[k] += volume * in[k];
        }
        i += n;
        position_ += n;
        if (position_ >= count) {
            position_ = 0;
            if (!loop_) {
                mode_ = Mode::Idle;
                return i;
            }
        }
        if (mode_ == Mode::Fading && fadeLeft_ <= 0) {
            if (restartAfterFade_) {
                restartAfterFade_ = false;
                mode_ = Mode::Waiting;
                position_ = 0;
                if (endAt_ >= 0 && endAt_ <= at + i) mode_ = Mode::Idle;
            } else {
                mode_ = Mode::Idle;
            }
            return i;
        }
    }
    return i;
}

int Voice::mixInto(float* out, int frames, std::int64_t at, int quietFrom, CallPlacement& placement) {
    takeRequest(at, placement);
    const float volume = volume_.load(std::memory_order_relaxed);
    int busyUntil = 0;
    int i = 0;
    while (i < frames && mode_ != Mode::Idle) {
        if (mode_ == Mode::Waiting) {
            const auto placed = int(std::clamp<std::int64_t>(seenAt_ - at, 0, frames));
            const int startAt = std::max({i, quietFrom, placed});
            if (startAt >= frames) break;
            if (endAt_ >= 0 && endAt_ <= at + startAt) { // its time ran out while it waited
                mode_ = Mode::Idle;
                break;
            }
            mode_ = Mode::Playing;
            position_ = 0;
            i = startAt;
        }
        if (mode_ == Mode::Playing) {
            const bool timed = endAt_ >= 0;
            const int until = timed ? int(std::clamp<std::int64_t>(endAt_ - at, i, frames)) : frames;
            i = render(out, i, until, at, volume);
            if (timed) busyUntil = i;
            if (mode_ == Mode::Playing && timed && i == until && until < frames) {
                endAt_ = -1;
                startFading();
            } else if (i == until) {
                break;
            }
        }
        if (mode_ == Mode::Fading) {
            i = render(out, i, frames, at, volume);
            busyUntil = std::max(busyUntil, i);
        }
    }
    quietSerial_.store(mode_ == Mode::Idle ? takenSerial_ : kSounding, std::memory_order_release);
    return busyUntil;
}

bool Voice::endless() const {
    const bool goesOn = mode_ == Mode::Waiting || mode_ == Mode::Playing || (mode_ == Mode::Fading && restartAfterFade_);
    return goesOn && loop_ && endAt_ < 0;
}

Mixer::Mixer(int deviceRate, bool placeByCallTime)
    : deviceRate_(deviceRate), published_(new VoiceList), scratch_(size_t(kScratchFrames) * 2),
      placement_(deviceRate, placeByCallTime) {}

Mixer::~Mixer() { delete published_.load(); }

void Mixer::publish(std::vector<std::unique_ptr<Voice>> removed) {
    auto list = std::make_unique<VoiceList>();
    list->reserve(voices_.size());
    for (const Entry& e : voices_) list->push_back(e.voice.get());
    VoiceList* old = published_.exchange(list.release());
    retired_.push_back(Retired{std::unique_ptr<VoiceList>(old), std::move(removed)});
    freeRetired();
}

// The audio thread only ever moves on to the newest list, so every retired
// list before the one it reads is free, with its voices.
void Mixer::freeRetired() {
    const VoiceList* reading = inUse_.load();
    while (!retired_.empty() && retired_.front().list.get() != reading) retired_.pop_front();
}

Voice* Mixer::add(std::shared_ptr<const PcmSound> sound) {
    voices_.push_back(Entry{std::make_unique<Voice>(std::move(sound), deviceRate_ * kFadeMs / 1000)});
    Voice* voice = voices_.back().voice.get();
    publish({});
    return voice;
}

void Mixer::release(Voice* voice) {
    if (!voice) return;
    voice->stop();
    for (Entry& e : voices_)
        if (e.voice.get() == voice) e.released = true;
    collect();
}

void Mixer::playDetachedFor(std::shared_ptr<const PcmSound> sound, std::int64_t frames) {
    Voice* voice = add(std::move(sound));
    voice->playFor(frames);
    voices_.back().released = true;
}

void Mixer::collect() {
    std::vector<std::unique_ptr<Voice>> finished;
    for (Entry& e : voices_)
        if (e.released && e.voice->silent()) finished.push_back(std::move(e.voice));
    std::erase_if(voices_, [](const Entry& e) { return !e.voice; });
    if (finished.empty()) freeRetired();
    else publish(std::move(finished));
}

std::int64_t Mixer::framesSinceSound() const {
    return streamFrame_.load(std::memory_order_relaxed) - lastSoundAt_.load(std::memory_order_relaxed);
}

const Mixer::VoiceList* Mixer::acquireList() {
    const VoiceList* list = nullptr;
    do {
        list = published_.load();
        inUse_.store(list);
    } while (list != published_.load());
    return list;
}

void Mixer::mix(float* out, int frames) {
    std::fill(out, out + size_t(frames) * 2, 0.0f);
    const VoiceList* list = acquireList();
    const std::int64_t at = streamFrame_.load(std::memory_order_relaxed);
    if (framesSinceSound() >= std::int64_t(deviceRate_) * kPlacementMemorySeconds) placement_.forget();
    int quietFrom = 0;
    bool sounding = false;
    bool endless = false;
    for (Voice* voice : *list) {
        quietFrom = std::max(quietFrom, voice->mixInto(out, frames, at, quietFrom, placement_));
        sounding = sounding || voice->sounding();
        endless = endless || voice->endless();
    }
    inUse_.store(nullptr);
    endlessSound_.store(endless, std::memory_order_relaxed);
    if (sounding) lastSoundAt_.store(at + frames, std::memory_order_relaxed);
    streamFrame_.store(at + frames, std::memory_order_relaxed);
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

std::shared_ptr<const PcmSound> beepSound(int pitch, int rate) {
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate;
    sound->samples.assign(size_t(rate) * 2, 0.0f);
    if (pitch <= 0 || 2 * pitch >= rate) return sound; // nothing the output could carry
    const double step = 2.0 * std::numbers::pi * pitch / rate;
    for (int n = 0; n < rate; ++n) {
        const auto v = float(std::sin(step * n) * (30000.0 / 32768.0));
        sound->samples[size_t(n) * 2] = sound->samples[size_t(n) * 2 + 1] = v;
    }
    return sound;
}

} // namespace tonara
