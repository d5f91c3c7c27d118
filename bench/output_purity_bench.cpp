// What the engine makes of every preset pitch at 48 kHz and 96 kHz outputs:
// the one-second tone as the engine synthesises it, converted with libsoxr
// when it is loaded and looped by the engine, beside the linear
// interpolation the mixer used to do while playing.
//   output_purity_bench [runs]
#include "AudioEngine.h"
#include "RateConverter.h"
#include "Synthesis.h"
#include "ToneAnalysis.h"

#include <chrono>
#include <functional>
#include <cstdio>
#include <cstdlib>

using namespace tonara;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPresets[] = {1000, 4500, 10000, 16600, 21000};
// One whole loop: the synthesised tone's own seam (a phase step of up to
// 0.005 rad at 21 kHz) falls outside the measured stretch.
constexpr double kSeconds = 1.0;
constexpr double kFull = 30000.0 / 32768;

std::shared_ptr<const PcmSound> engineTone(int pitch) {
    const SampleGrid grid = oneSecondTone(pitch);
    auto sound = std::make_shared<PcmSound>();
    sound->rate = toneRateFor(pitch);
    sound->samples.resize(size_t(grid.samples) * 2);
    for (int s = 0; s < grid.samples; ++s) {
        sound->samples[size_t(s) * 2] = float(grid.at(0, s)) / 32768;
        sound->samples[size_t(s) * 2 + 1] = float(grid.at(1, s)) / 32768;
    }
    return sound;
}

// The mixer's former resampling: the looping sound read at a fractional
// position, between two neighbouring frames.
std::vector<double> linearLoop(const PcmSound& sound, int rate, int frames) {
    std::vector<double> out(static_cast<size_t>(frames));
    const double step = double(sound.rate) / rate;
    const int count = sound.frameCount();
    double position = 0;
    for (int i = 0; i < frames; ++i) {
        const int at = int(position);
        const double frac = position - at;
        const int next = at + 1 < count ? at + 1 : 0;
        out[size_t(i)] = sound.samples[size_t(at) * 2] + (sound.samples[size_t(next) * 2] - sound.samples[size_t(at) * 2]) * frac;
        position += step;
        if (position >= count) position -= count;
    }
    return out;
}

std::vector<double> engineLoop(std::shared_ptr<const PcmSound> sound, int frames) {
    AudioEngine engine(sound->rate);
    engine.play(engine.add(std::move(sound)), true);
    engine.take(0);
    std::vector<float> out(size_t(frames) * 2);
    for (int done = 0; done < frames; done += 512) engine.mix(out.data() + size_t(done) * 2, done, std::min(512, frames - done));
    std::vector<double> left(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) left[size_t(i)] = out[size_t(i) * 2];
    return left;
}

// The fastest of the runs: on a shared machine the others measure the load.
double bestMs(int runs, const std::function<void()>& work) {
    work(); // the first run designs the filter
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

void row(const char* method, int pitch, const std::vector<double>& out, int rate, double ms) {
    const auto purity = test::analyseTone(out, rate, pitch);
    std::printf("  %-8s %6d Hz  level %+8.3f dB  worst spurious %7.1f dBc at %7.0f Hz  %6.2f ms per sound\n", method,
                pitch, test::levelDb(purity.amplitude, kFull), purity.worstSpuriousDbc, purity.worstSpuriousHz, ms);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    RateConverter converter;
    for (const int rate : {48000, 96000}) {
        std::printf("output at %d Hz (conversion time: best of %d one-second sounds)\n", rate, runs);
        const int frames = int(kSeconds * rate);
        for (const int pitch : kPresets) {
            const auto tone = engineTone(pitch);
            std::shared_ptr<const PcmSound> converted;
            const double soxrMs = bestMs(runs, [&] { converted = converter.convert(tone, rate, true); });
            row("soxr", pitch, engineLoop(converted, frames), rate, soxrMs);
            std::vector<double> linear;
            const double linearMs = bestMs(runs, [&] { linear = linearLoop(*tone, rate, rate); });
            row("linear", pitch, linearLoop(*tone, rate, frames), rate, linearMs);
        }
    }
    return 0;
}
