#include "RateConverter.h"

#include "OutputBand.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>

namespace tonara {

namespace {

// Mono: libsoxr converts one channel ten times faster than an interleaved
// pair, and the program's tones have the same samples on both sides.
constexpr int kChannels = 1;
// The full-level band of the lower rate passes flat; above it the filter
// closes before the limit itself, so nothing folds back.
constexpr double kPassbandEnd = kFullLevelShare;
constexpr double kStopbandBegin = 1.0;
// A looping sound is extended on both sides by its own other end, longer
// than the filter's reach, so the filter sees the loop as it will sound.
constexpr long kMinLoopPadFrames = 2048;

// Frames of padding that convert to a whole number of output frames, so the
// period cut out of the converted loop starts exactly on its first frame.
long loopPadFrames(int fromRate, int toRate) {
    const long step = fromRate / std::gcd(fromRate, toRate);
    return step > kMinLoopPadFrames ? kMinLoopPadFrames : (kMinLoopPadFrames + step - 1) / step * step;
}

// One channel of the sound, with pad frames of the sound repeated endlessly
// on each side.
std::vector<float> channel(const PcmSound& sound, int which, long pad) {
    const long count = sound.frameCount();
    std::vector<float> samples(size_t(count + 2 * pad));
    for (long i = -pad; i < count + pad; ++i) {
        const long from = ((i % count) + count) % count;
        samples[size_t(i + pad)] = sound.samples[size_t(from) * 2 + size_t(which)];
    }
    return samples;
}

bool sameOnBothSides(const PcmSound& sound) {
    for (size_t i = 0; i < sound.samples.size(); i += 2)
        if (sound.samples[i] != sound.samples[i + 1]) return false;
    return true;
}

// Input first, then a flush (no input) that lets the filter's tail out.
std::optional<std::vector<float>> run(soxr* converter, const std::vector<float>& input, double ratio) {
    soxr_clear(converter);
    std::vector<float> output(size_t(std::ceil(double(input.size()) * ratio) + 64));
    size_t taken = 0, made = 0;
    for (bool flushing = false; made < output.size();) {
        size_t takenNow = 0, madeNow = 0;
        if (soxr_process(converter, flushing ? nullptr : input.data() + taken, flushing ? 0 : input.size() - taken,
                         &takenNow, output.data() + made, output.size() - made, &madeNow))
            return std::nullopt;
        taken += takenNow;
        made += madeNow;
        if (flushing && madeNow == 0) break;
        flushing = taken >= input.size();
    }
    output.resize(made);
    return output;
}

} // namespace

RateConverter::RateConverter() = default;

RateConverter::~RateConverter() {
    for (auto& [rates, converter] : converters_) soxr_delete(converter);
}

soxr* RateConverter::converterFor(int fromRate, int toRate) {
    auto found = converters_.find({fromRate, toRate});
    if (found != converters_.end()) return found->second;
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    quality.passband_end = kPassbandEnd;
    quality.stopband_begin = kStopbandBegin;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    soxr* converter = soxr_create(fromRate, toRate, kChannels, &error, &io, &quality, &runtime);
    if (error) {
        std::fprintf(stderr, "Tonara: no rate conversion from %d to %d Hz (%s)\n", fromRate, toRate, error);
        return nullptr;
    }
    converters_[{fromRate, toRate}] = converter;
    return converter;
}

std::shared_ptr<const PcmSound> RateConverter::convert(std::shared_ptr<const PcmSound> sound, int rate,
                                                       bool looping) {
    if (!sound || sound->rate == rate) return sound;
    const bool again = last_.from && last_.rate == rate && last_.looping == looping &&
                       last_.from->rate == sound->rate && last_.from->samples == sound->samples;
    if (!again) last_ = {sound, rate, looping, converted(*sound, rate, looping)};
    return last_.to;
}

std::shared_ptr<const PcmSound> RateConverter::converted(const PcmSound& sound, int rate, bool looping) {
    const long count = sound.frameCount();
    if (count <= 0 || sound.rate <= 0 || rate <= 0) return nullptr;
    soxr* converter = converterFor(sound.rate, rate);
    if (!converter) return nullptr;

    const double ratio = double(rate) / sound.rate;
    const long pad = looping ? loopPadFrames(sound.rate, rate) : 0;
    const auto first = size_t(std::lround(double(pad) * ratio));
    const auto frames = size_t(std::max(1L, std::lround(double(count) * ratio)));
    auto converted = std::make_shared<PcmSound>();
    converted->rate = rate;
    converted->samples.assign(frames * 2, 0.0f);

    const int sides = sameOnBothSides(sound) ? 1 : 2;
    for (int side = 0; side < sides; ++side) {
        const auto output = run(converter, channel(sound, side, pad), ratio);
        if (!output) return nullptr;
        for (size_t i = 0; i < frames && first + i < output->size(); ++i) {
            converted->samples[i * 2 + size_t(side)] = (*output)[first + i];
            if (sides == 1) converted->samples[i * 2 + 1] = (*output)[first + i];
        }
    }
    return converted;
}

} // namespace tonara
