#include "RateConverter.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace tonara {

namespace {

constexpr int kChannels = 2;
// Up to 96 % of the lower Nyquist limit passes flat, so the 21 kHz tone of
// a 44.1 kHz sound keeps its level; above it the filter closes before the
// limit itself, so nothing folds back.
constexpr double kPassbandEnd = 0.96;
constexpr double kStopbandBegin = 1.0;
// A looping sound is extended on both sides by its own other end, longer
// than the filter's reach, so the filter sees the loop as it will sound.
constexpr long kMinLoopPadFrames = 8192;

// Frames of padding that convert to a whole number of output frames, so the
// period cut out of the converted loop starts exactly on its first frame.
long loopPadFrames(int fromRate, int toRate) {
    const long step = fromRate / std::gcd(fromRate, toRate);
    return step > kMinLoopPadFrames ? kMinLoopPadFrames : (kMinLoopPadFrames + step - 1) / step * step;
}

// Frame i of the sound repeated endlessly in both directions.
std::vector<float> loopPadded(const PcmSound& sound, long pad) {
    const long count = sound.frameCount();
    std::vector<float> padded(size_t(count + 2 * pad) * kChannels);
    for (long i = -pad; i < count + pad; ++i) {
        const long from = ((i % count) + count) % count;
        padded[size_t(i + pad) * 2] = sound.samples[size_t(from) * 2];
        padded[size_t(i + pad) * 2 + 1] = sound.samples[size_t(from) * 2 + 1];
    }
    return padded;
}

} // namespace

RateConverter::RateConverter() = default;

RateConverter::~RateConverter() {
    for (auto& [rates, converter] : converters_) soxr_delete(converter);
}

soxr* RateConverter::converterFor(int fromRate, int toRate) {
    auto found = converters_.find({fromRate, toRate});
    if (found != converters_.end()) {
        soxr_clear(found->second);
        return found->second;
    }
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
    const long count = sound->frameCount();
    if (count <= 0 || sound->rate <= 0 || rate <= 0) return nullptr;
    soxr* converter = converterFor(sound->rate, rate);
    if (!converter) return nullptr;

    const double ratio = double(rate) / sound->rate;
    const long pad = looping ? loopPadFrames(sound->rate, rate) : 0;
    const std::vector<float> padded = looping ? loopPadded(*sound, pad) : std::vector<float>();
    const std::vector<float>& input = looping ? padded : sound->samples;
    const size_t inputFrames = input.size() / kChannels;

    std::vector<float> output(size_t(std::ceil(double(inputFrames) * ratio) + 64) * kChannels);
    size_t taken = 0, made = 0;
    // Input first, then a flush (no input) that lets the filter's tail out.
    for (bool flushing = false;;) {
        size_t takenNow = 0, madeNow = 0;
        const float* in = flushing ? nullptr : input.data() + taken * kChannels;
        const size_t inFrames = flushing ? 0 : inputFrames - taken;
        if (soxr_process(converter, in, inFrames, &takenNow, output.data() + made * kChannels,
                         output.size() / kChannels - made, &madeNow))
            return nullptr;
        taken += takenNow;
        made += madeNow;
        if (!flushing && taken >= inputFrames) flushing = true;
        else if (flushing && madeNow == 0) break;
        if (made >= output.size() / kChannels) break;
    }

    const auto first = size_t(std::lround(double(pad) * ratio));
    const auto frames = size_t(std::max(1L, std::lround(double(count) * ratio)));
    auto converted = std::make_shared<PcmSound>();
    converted->rate = rate;
    converted->samples.assign(size_t(frames) * kChannels, 0.0f);
    const size_t available = made > first ? std::min(frames, made - first) : 0;
    std::copy_n(output.begin() + std::ptrdiff_t(first * kChannels), available * kChannels,
                converted->samples.begin());
    return converted;
}

} // namespace tonara
