// The generator's waveforms as rendered: band-limited, at their level,
// following their sweep law, and the same every time.
#include "SignalRenderer.h"

#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace tonara::test {

namespace {

std::vector<float> rendered(const SignalParameters& parameters, int rate, int frames, std::int64_t from = 0) {
    std::vector<float> out(std::size_t(frames), 0.0f);
    SignalRenderer(parameters, rate).render(out.data(), from, frames);
    return out;
}

// Amplitudes (peak) at every bin of a rectangular-window FFT: the tests
// choose lengths that put every component, aliases too, on a bin.
std::vector<double> spectrum(const std::vector<float>& samples) {
    const int n = int(samples.size());
    std::vector<double> in(samples.begin(), samples.end());
    fftw_complex* out = fftw_alloc_complex(std::size_t(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out, FFTW_ESTIMATE);
    fftw_execute(plan);
    std::vector<double> amplitude(std::size_t(n / 2 + 1));
    for (std::size_t i = 0; i < amplitude.size(); ++i) amplitude[i] = 2.0 * std::hypot(out[i][0], out[i][1]) / n;
    fftw_destroy_plan(plan);
    fftw_free(out);
    return amplitude;
}

SignalParameters tone(Waveform waveform, double hertz) {
    SignalParameters parameters;
    parameters.waveform = waveform;
    parameters.frequency = hertz;
    return parameters;
}

struct Band {
    Waveform waveform;
    double hertz;
    int rate;
};

class BandLimited : public testing::TestWithParam<Band> {};

// Two seconds: bins of 0.5 Hz, on which every harmonic and every place a
// harmonic would fold back to lie.
TEST_P(BandLimited, NothingFoldsBackAboveMinus80Dbc) {
    const Band& b = GetParam();
    const auto amplitude = spectrum(rendered(tone(b.waveform, b.hertz), b.rate, 2 * b.rate));
    const double fundamental = amplitude[std::size_t(std::lround(b.hertz * 2))];
    ASSERT_GT(fundamental, 0.1);
    const double top = SignalRenderer::bandTop(b.rate);
    double worst = 0.0, worstHz = 0.0;
    for (std::size_t bin = 1; bin < amplitude.size(); ++bin) {
        const double hz = double(bin) / 2;
        const double harmonic = hz / b.hertz;
        if (std::abs(harmonic - std::round(harmonic)) < 1e-6 && hz < top) continue;
        if (amplitude[bin] > worst) {
            worst = amplitude[bin];
            worstHz = hz;
        }
    }
    EXPECT_LT(20 * std::log10(worst / fundamental), -80.0) << "at " << worstHz << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Waves, BandLimited, testing::Values(
    Band{Waveform::Square, 1234.5, 48000}, Band{Waveform::Square, 5678.5, 48000}, Band{Waveform::Sawtooth, 1234.5, 48000},
    Band{Waveform::Sawtooth, 7777.5, 44100}, Band{Waveform::Triangle, 3333.5, 48000}, Band{Waveform::Square, 9876.5, 96000},
    Band{Waveform::Sawtooth, 17.5, 48000}, Band{Waveform::Sine, 20001.5, 44100}));

// Harmonic n at 1/n (square, sawtooth) or 1/n^2 (triangle) of the
// fundamental, up to where the band top's taper begins.
TEST(Harmonics, FallAsTheirSeriesDoes) {
    const struct { Waveform waveform; int step; int power; } waves[] = {
        {Waveform::Square, 2, 1}, {Waveform::Sawtooth, 1, 1}, {Waveform::Triangle, 2, 2}};
    for (const auto& w : waves) {
        const auto amplitude = spectrum(rendered(tone(w.waveform, 1000.0), 48000, 48000));
        const double fundamental = amplitude[1000];
        for (int n = 1 + w.step; n * 1000.0 < 0.9 * SignalRenderer::bandTop(48000); n += w.step) {
            const double db = 20 * std::log10(amplitude[std::size_t(n) * 1000] * std::pow(n, w.power) / fundamental);
            EXPECT_NEAR(db, 0.0, 0.1) << int(w.waveform) << " harmonic " << n;
        }
        if (w.step == 2) {
            EXPECT_LT(amplitude[2000] / fundamental, 1e-5) << "no even harmonics";
        }
    }
}

// At peak 1 a sine reaches 1; the band-limited waves never pass it.
TEST(Peaks, NeverPassFullScale) {
    for (auto waveform : {Waveform::Sine, Waveform::Square, Waveform::Sawtooth, Waveform::Triangle, Waveform::WhiteNoise,
                          Waveform::PinkNoise})
        for (double hertz : {50.0, 1000.0, 7000.0}) {
            float peak = 0;
            for (float v : rendered(tone(waveform, hertz), 48000, 48000)) peak = std::max(peak, std::abs(v));
            EXPECT_LE(peak, 1.0f) << int(waveform) << " at " << hertz;
            EXPECT_GT(peak, 0.5f) << int(waveform) << " at " << hertz;
        }
}

// Measured from the rendered sine itself: the time between rising zero
// crossings, against the law at the middle of that period.
void expectFollowsLaw(const SignalParameters& parameters, int rate, double seconds, double (*law)(const SignalParameters&, double)) {
    const auto wave = rendered(parameters, rate, int(seconds * rate));
    double last = -1;
    int checked = 0;
    for (std::size_t i = 1; i < wave.size(); ++i) {
        if (!(wave[i - 1] < 0 && wave[i] >= 0)) continue;
        const double crossing = double(i - 1) + wave[i - 1] / (wave[i - 1] - wave[i]);
        if (last >= 0) {
            const double middle = (last + crossing) / 2 / rate;
            const double expected = law(parameters, middle);
            const double measured = rate / (crossing - last);
            // Where the frequency jumps back (a repeat), the period spans two laws.
            if (expected < 4000 && std::abs(law(parameters, last / rate) - law(parameters, crossing / rate)) < 0.01 * expected) {
                ASSERT_NEAR(measured, expected, expected * 0.001) << "at " << middle << " s";
                ++checked;
            }
        }
        last = crossing;
    }
    EXPECT_GT(checked, 100);
}

double sweepLaw(const SignalParameters& s, double t) {
    if (t >= s.sweepSeconds) {
        if (!s.repeat) return s.sweepTo;
        t = std::fmod(t, s.sweepSeconds);
    }
    if (s.sweep == SweepLaw::Linear) return s.frequency + (s.sweepTo - s.frequency) * t / s.sweepSeconds;
    return s.frequency * std::pow(s.sweepTo / s.frequency, t / s.sweepSeconds);
}

TEST(Sweeps, FollowTheirLawWithinATenthOfAPercent) {
    const struct { SweepLaw law; double from, to, seconds; bool repeat; double length; } sweeps[] = {
        {SweepLaw::Logarithmic, 20, 20000, 10, false, 10},  {SweepLaw::Linear, 100, 3000, 4, false, 5},
        {SweepLaw::Logarithmic, 3000, 50, 2, true, 5},     {SweepLaw::Linear, 200, 1000, 1, true, 3.5},
        {SweepLaw::Logarithmic, 100, 1000, 1, false, 2.5}};
    for (const auto& s : sweeps) {
        SignalParameters parameters = tone(Waveform::Sine, s.from);
        parameters.sweep = s.law;
        parameters.sweepTo = s.to;
        parameters.sweepSeconds = s.seconds;
        parameters.repeat = s.repeat;
        SCOPED_TRACE(testing::Message() << s.from << " to " << s.to << (s.repeat ? " repeating" : " holding"));
        expectFollowsLaw(parameters, 48000, s.length, sweepLaw);
    }
}

// Rendered in pieces from anywhere, or whole: the same values.
TEST(Rendering, IsAFunctionOfTheFrameAlone) {
    SignalParameters parameters = tone(Waveform::Sawtooth, 440.25);
    parameters.sweep = SweepLaw::Logarithmic;
    parameters.sweepTo = 3000;
    parameters.sweepSeconds = 0.5;
    parameters.repeat = true;
    for (auto waveform : {Waveform::Sawtooth, Waveform::PinkNoise, Waveform::WhiteNoise}) {
        parameters.waveform = waveform;
        const auto whole = rendered(parameters, 48000, 60000);
        std::vector<float> pieces(whole.size());
        const SignalRenderer renderer(parameters, 48000);
        for (std::size_t at = 0; at < pieces.size(); at += 997)
            renderer.render(pieces.data() + at, std::int64_t(at), int(std::min<std::size_t>(997, pieces.size() - at)));
        EXPECT_EQ(whole, pieces) << int(waveform);
    }
}

// A day in, a fractional frequency is still in phase with its law.
TEST(Rendering, KeepsThePhaseExactOverLongRuns) {
    const SignalRenderer renderer(tone(Waveform::Sine, 440.25), 48000);
    const std::int64_t day = 86400LL * 48000;
    EXPECT_NEAR(renderer.cyclesAt(day), 0.0, 1e-6); // 440.25 * 86400 whole cycles
    EXPECT_NEAR(renderer.cyclesAt(day + 12000), 0.0625, 1e-6); // a quarter second more: 110.0625 cycles
}

// Pink noise falls by about 3 dB an octave; white stays flat.
TEST(Noise, HasItsSlope) {
    const int rate = 48000, n = 1 << 20;
    const auto octaveDb = [&](Waveform waveform) {
        const auto amplitude = spectrum(rendered(tone(waveform, 1000), rate, n));
        const auto power = [&](double lowHz) {
            double sum = 0;
            for (auto bin = std::size_t(lowHz * n / rate); bin < std::size_t(2 * lowHz * n / rate); ++bin)
                sum += amplitude[bin] * amplitude[bin];
            return sum;
        };
        return 10 * std::log10(power(2000) / power(200)) / std::log2(10.0); // per octave
    };
    EXPECT_NEAR(octaveDb(Waveform::WhiteNoise), 3.0, 0.5); // power per octave band doubles
    EXPECT_NEAR(octaveDb(Waveform::PinkNoise), 0.0, 0.7);
}

} // namespace

} // namespace tonara::test
