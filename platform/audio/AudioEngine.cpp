#include "AudioEngine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace tonara {

namespace {

constexpr std::size_t kRequestSlots = 4096;
constexpr std::size_t kVoiceSlots = 256;
constexpr int kScratchFrames = 4096;

} // namespace

AudioEngine::AudioEngine(int rate)
    : rate_(rate), fadeFrames_(rate * kFadeMs / 1000), signalFadeFrames_(rate * kSignalFadeMs / 1000),
      rampFrames_(rate * kGainRampMs / 1000), gapFrames_(std::llround(rate * kGapMs / 1000)),
      requests_(kRequestSlots), finished_(kRequestSlots + kVoiceSlots), quietFrom_(std::numeric_limits<std::int64_t>::min()),
      master_(rampFrames_) {
    voices_.reserve(kVoiceSlots);
    scratch_.resize(std::size_t(kScratchFrames) * 2);
}

AudioEngine::~AudioEngine() {
    collect();
    while (const auto request = requests_.pop())
        if (request->kind == Kind::Add) delete request->voice;
    for (Voice* voice : voices_) delete voice;
}

// The audio thread empties the queue at every buffer; a full one means it
// is held up, and a request is worth a short wait, never a loss.
void AudioEngine::send(const Request& request) {
    for (int tries = 0; !requests_.push(request); ++tries) {
        if (tries == 2000) {
            std::fprintf(stderr, "Tonara: the audio thread does not take requests; one was dropped\n");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

Voice* AudioEngine::add(std::shared_ptr<const PcmSound> sound) {
    auto* voice = new Voice(std::move(sound), fadeFrames_, rampFrames_);
    ++held_;
    send({Kind::Add, voice});
    return voice;
}

Voice* AudioEngine::addSignal(const SignalParameters& signal, bool dithered) {
    auto* voice = new Voice(signal, rate_, signalFadeFrames_, rampFrames_, dithered);
    ++held_;
    send({Kind::Add, voice});
    return voice;
}

void AudioEngine::setSignal(Voice* voice, const SignalParameters& signal) {
    Request request{Kind::Signal, voice};
    request.signal = signal;
    send(request);
}

void AudioEngine::play(Voice* voice, bool loop, std::int64_t follows) {
    send({Kind::Play, voice, 0, 1.0f, loop, follows});
}
std::uint64_t AudioEngine::playFor(Voice* voice, std::int64_t frames, std::int64_t follows) {
    send({Kind::PlayFor, voice, frames, 1.0f, false, follows});
    return ++timedAsked_;
}

std::optional<std::int64_t> AudioEngine::timedFadeFrame(std::uint64_t number) const {
    if (timedPlaced_.load(std::memory_order_acquire) < number) return std::nullopt;
    return timedFade_.load(std::memory_order_relaxed);
}
void AudioEngine::stop(Voice* voice) { send({Kind::Stop, voice}); }
void AudioEngine::setGain(Voice* voice, float left, float right) {
    Request request{Kind::Gain, voice, 0, left};
    request.rightGain = right;
    send(request);
}

void AudioEngine::setMasterGain(float gain) { send({Kind::MasterGain, nullptr, 0, gain}); }
void AudioEngine::release(Voice* voice) {
    if (voice) send({Kind::Release, voice});
}

void AudioEngine::collect() {
    while (const auto voice = finished_.pop()) {
        delete *voice;
        --held_;
    }
}

std::int64_t AudioEngine::take(std::int64_t earliest) {
    earliest_ = std::max(earliest_, earliest);
    std::int64_t changed = kNever;
    while (const auto request = requests_.pop()) {
        changed = std::min(changed, apply(*request));
        if (request->kind == Kind::PlayFor) timedPlaced_.fetch_add(1, std::memory_order_release);
    }
    retireSilent();
    publishQuiet();
    return changed;
}

// After every older voice on its way out, and the gap.
std::int64_t AudioEngine::startFrame(const Voice& voice, std::int64_t at) const {
    for (const Voice* older : voices_) {
        if (older == &voice) break;
        if (older->onItsWayOut(at)) at = std::max(at, older->silentFrom() + gapFrames_);
    }
    return at;
}

std::int64_t AudioEngine::apply(const Request& request) {
    Voice* voice = request.voice;
    if (request.kind == Kind::MasterGain) {
        master_.set(earliest_, request.gain, request.gain);
        return quietFrom() > earliest_ ? earliest_ : kNever;
    }
    if (request.kind == Kind::Add) {
        if (voices_.size() == voices_.capacity()) {
            // Handed straight back (the queue back holds every voice that can
            // be on its way), so nothing here ever allocates.
            std::fprintf(stderr, "Tonara: more than %zu voices at once; one stays silent\n", voices_.size());
            voice->released = true;
            finished_.push(voice);
            return kNever;
        }
        voices_.push_back(voice);
        return kNever;
    }
    if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) {
        if (request.kind == Kind::PlayFor) timedFade_.store(earliest_, std::memory_order_relaxed); // nothing to wait for
        return kNever;
    }

    switch (request.kind) {
    case Kind::Add: break;
    case Kind::Play:
    case Kind::PlayFor: {
        if (voice->started() || voice->released) { // one run per voice
            if (request.kind == Kind::PlayFor) timedFade_.store(earliest_, std::memory_order_relaxed);
            return kNever;
        }
        const bool timed = request.kind == Kind::PlayFor;
        std::int64_t at = startFrame(*voice, earliest_);
        if (lastTimed_) {
            lastTimedFade_ = lastTimed_->started() ? lastTimed_->fadeFrame() : kNever;
            lastTimedSilent_ = lastTimed_->started() ? lastTimed_->silentFrom() : kNever;
        }
        if (request.follows >= 0 && lastTimedFade_ != kNever)
            at = std::max({at, lastTimedFade_ + request.follows, lastTimedSilent_ + gapFrames_});
        voice->start(at, timed || request.loop, timed ? request.frames : -1);
        if (timed) {
            timedFade_.store(voice->fadeFrame(), std::memory_order_relaxed);
            lastTimed_ = voice;
        }
        return at;
    }
    case Kind::Stop:
    case Kind::Release: {
        if (request.kind == Kind::Release) voice->released = true;
        if (!voice->started() || (request.kind == Kind::Release && voice->timed())) return kNever;
        const std::int64_t before = voice->silentFrom();
        voice->stop(earliest_);
        return before > earliest_ ? earliest_ : kNever;
    }
    case Kind::MasterGain: break;
    case Kind::Signal: {
        voice->setSignal(earliest_, request.signal);
        return voice->started() && voice->silentFrom() > earliest_ ? earliest_ : kNever;
    }
    case Kind::Gain: {
        voice->setGain(earliest_, request.gain, request.rightGain);
        return voice->started() && voice->silentFrom() > earliest_ ? earliest_ : kNever;
    }
    }
    return kNever;
}

// What falls silent before the earliest frame is never mixed again.
void AudioEngine::retireSilent() {
    for (auto it = voices_.begin(); it != voices_.end();) {
        Voice* voice = *it;
        const bool silent = !voice->started() || voice->silentFrom() <= earliest_;
        if (voice->released && silent && finished_.push(voice)) {
            retiredSoundEnd_ = std::max(retiredSoundEnd_, voice->silentFrom());
            if (voice == lastTimed_) {
                lastTimedFade_ = voice->started() ? voice->fadeFrame() : kNever;
                lastTimedSilent_ = voice->started() ? voice->silentFrom() : kNever;
                lastTimed_ = nullptr;
            }
            it = voices_.erase(it);
        } else {
            ++it;
        }
    }
}

// Never earlier than the end of a sound already handed back.
void AudioEngine::publishQuiet() {
    std::int64_t quiet = retiredSoundEnd_;
    for (const Voice* voice : voices_) quiet = std::max(quiet, voice->silentFrom());
    quietFrom_.store(quiet, std::memory_order_release);
}

void AudioEngine::mix(float* out, std::int64_t from, int frames) const {
    std::fill(out, out + std::ptrdiff_t(frames) * 2, 0.0f);
    for (const Voice* voice : voices_)
        if (voice->underMasterGain()) voice->mixInto(out, from, frames);
    if (!master_.steadyAfter(from) || master_.left() != 1.0f) {
        for (int i = 0; i < frames; ++i) {
            const float gain = master_.leftAt(from + i);
            out[2 * i] *= gain;
            out[2 * i + 1] *= gain;
        }
    }
    for (const Voice* voice : voices_)
        if (!voice->underMasterGain()) voice->mixInto(out, from, frames);
}

} // namespace tonara

namespace tonara {

void AudioEngine::mix(std::int16_t* out, std::int64_t from, int frames) {
    while (frames > 0) {
        const int piece = std::min(frames, kScratchFrames);
        mix(scratch_.data(), from, piece);
        for (int i = 0; i < piece * 2; ++i) {
            const float scaled = std::nearbyint(scratch_[std::size_t(i)] * 32768.0f);
            out[i] = std::int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
        }
        out += std::ptrdiff_t(piece) * 2;
        from += piece;
        frames -= piece;
    }
}

} // namespace tonara
