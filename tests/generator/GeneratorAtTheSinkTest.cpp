// The signal generator's voice through the real output, recorded at the
// sound server's sink: frequency, level, ears, purity, sweeps and changes.
#include "AudioOutput.h"
#include "Platform.h"
#include "SinkRecording.h"
#include "ToneAnalysis.h"

#include <fftw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>

namespace tonara::test {

namespace {

class GeneratorAtTheSink : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundServerReachable()) GTEST_SKIP() << kNoSoundServer;
        AudioOutput::instance().deviceInfo(); // open before recording, as the program has it
        QString why;
        ASSERT_TRUE(recorder.start(why, recorderLatencyMs())) << why.toStdString();
        stream = platform().openSignalStream();
        underrunsBefore = AudioOutput::instance().underruns();
    }
    void TearDown() override {
        if (stream) stream->stop();
        if (!HasFatalFailure() && stream) {
            const long underruns = AudioOutput::instance().underruns() - underrunsBefore;
            EXPECT_EQ(underruns, 0) << "the server ran out of the generator's sound";
        }
    }
    virtual int recorderLatencyMs() const { return SinkRecorder::kShortLatencyMs; }
    // Plays the signal for ms and keeps what the sink played from 100 ms in
    // (past the fade and the server's start) to its end.
    struct Heard {
        std::vector<std::int16_t> left, right;
        qint64 from = 0; // the recording's frame of left[0]
    };
    Heard play(const SignalParameters& signal, int ms, const std::function<void()>& midway = {}) {
        const qint64 start = recorder.position();
        stream->play(signal, 0);
        if (midway) {
            recorder.keepRecording(ms / 2);
            midway();
            recorder.keepRecording(ms - ms / 2);
        } else {
            recorder.keepRecording(ms);
        }
        stream->stop();
        recorder.keepRecording(100);
        const qint64 end = start + framesOf(ms);
        const std::vector<std::int16_t> left = recorder.samples(0, 0), right = recorder.samples(0, 1);
        const ToneSpan span = findTone(left, 8, start);
        Heard heard;
        if (!span.found()) return heard;
        const qint64 from = span.onset + framesOf(100), to = std::min(end, span.offset - framesOf(20));
        heard.from = from;
        heard.left.assign(left.begin() + from, left.begin() + to);
        heard.right.assign(right.begin() + from, right.begin() + to);
        return heard;
    }

    SinkRecorder recorder;
    std::unique_ptr<SignalStream> stream;
    long underrunsBefore = 0;
};

std::vector<double> asDoubles(const std::vector<std::int16_t>& samples) { return {samples.begin(), samples.end()}; }

// Power spectrum of the first n samples, through a Blackman-Harris window
// or none.
std::vector<double> powerSpectrum(const std::vector<std::int16_t>& samples, int n, bool windowed = true) {
    std::vector<double> in(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double x = 2 * std::numbers::pi * i / n;
        const double w = !windowed ? 1.0 : 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        in[std::size_t(i)] = w * samples[std::size_t(i)];
    }
    fftw_complex* out = fftw_alloc_complex(std::size_t(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out, FFTW_ESTIMATE);
    fftw_execute(plan);
    std::vector<double> power(std::size_t(n / 2 + 1));
    for (std::size_t i = 0; i < power.size(); ++i) power[i] = out[i][0] * out[i][0] + out[i][1] * out[i][1];
    fftw_destroy_plan(plan);
    fftw_free(out);
    return power;
}

// The power of a component: its bin and the window's main lobe around it.
double componentPower(const std::vector<double>& power, double hz, int n) {
    const auto bin = std::lround(hz * n / kSinkRate);
    double sum = 0;
    for (long b = std::max(1L, bin - 4); b <= std::min(long(power.size()) - 1, bin + 4); ++b) sum += power[std::size_t(b)];
    return sum;
}

SignalParameters signalOf(Waveform waveform, double hertz, double levelDb, SignalChannel channel = SignalChannel::Both) {
    SignalParameters s;
    s.waveform = waveform;
    s.frequency = hertz;
    s.levelDb = levelDb;
    s.channel = channel;
    return s;
}

TEST_F(GeneratorAtTheSink, AFractionalFrequencyOnTheLeftOnlyArrivesExactAtItsLevel) {
    const Heard heard = play(signalOf(Waveform::Sine, 440.25, -20, SignalChannel::Left), 2500);
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, heard.from);
    ASSERT_GT(heard.left.size(), std::size_t(kSinkRate)) << "the tone was not heard";
    const TonePurity tone = analyseTone(asDoubles(heard.left), kSinkRate, 440.25);
    report("440.25 Hz, -20 dBFS, left: frequency - 440.25", tone.hz - 440.25, "Hz");
    report("440.25 Hz, -20 dBFS, left: amplitude", tone.amplitude, "(3276.7 asked)");
    EXPECT_NEAR(tone.hz, 440.25, 0.005);
    EXPECT_NEAR(tone.amplitude, 3276.7, 3276.7 * 0.006);
    int rightPeak = 0;
    for (std::int16_t s : heard.right) rightPeak = std::max(rightPeak, std::abs(int(s)));
    report("440.25 Hz, left: right channel's peak", rightPeak, "LSB (below -100 dBFS: 0)");
    EXPECT_EQ(rightPeak, 0) << "-100 dBFS is a third of the smallest step: the right must be silent";
}

TEST_F(GeneratorAtTheSink, ASineAtMinus6DbfsIsPure) {
    const Heard heard = play(signalOf(Waveform::Sine, 1000, -6), 2000);
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, heard.from);
    // A whole second: 1000 whole periods, so every component lies on a bin
    // and the plain window leaks nothing.
    const int n = kSinkRate;
    ASSERT_GE(int(heard.left.size()), n) << "the tone was not heard";
    const std::vector<double> power = powerSpectrum(heard.left, n, false);
    const double fundamental = power[1000];
    double rest = 0;
    for (std::size_t b = 10; b < power.size(); ++b)
        if (b != 1000) rest += power[b];
    const double thdN = 10 * std::log10(rest / fundamental);
    const TonePurity tone = analyseTone(asDoubles(heard.left), kSinkRate, 1000);
    report("1000 Hz, -6 dBFS: THD+N", thdN, "dB");
    report("1000 Hz, -6 dBFS: strongest spur", tone.worstSpuriousDbc, "dBc");
    report("1000 Hz, -6 dBFS: at", tone.worstSpuriousHz, "Hz");
    EXPECT_LE(thdN, -85.0);
    EXPECT_LE(tone.worstSpuriousDbc, -100.0);
}

TEST_F(GeneratorAtTheSink, ASquareHasItsOddHarmonicsAtOneOverNAndNothingFoldedBack) {
    const Heard heard = play(signalOf(Waveform::Square, 1000, -6), 2000);
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, heard.from);
    const int n = 1 << 16;
    ASSERT_GE(int(heard.left.size()), n) << "the tone was not heard";
    const std::vector<double> power = powerSpectrum(heard.left, n);
    const double fundamental = componentPower(power, 1000, n);
    const double top = 0.99 * kSinkRate / 2;
    double worstHarmonicDb = 0;
    for (int k = 3; k * 1000 < 0.9 * top; k += 2) {
        const double db = 10 * std::log10(componentPower(power, k * 1000, n) / fundamental) + 20 * std::log10(k);
        if (std::abs(db) > std::abs(worstHarmonicDb)) worstHarmonicDb = db;
    }
    // Everything not at a multiple of 1000 Hz would be folded back (or noise).
    double worstOther = 0, worstOtherHz = 0;
    for (std::size_t b = 20; b < power.size(); ++b) {
        const double hz = double(b) * kSinkRate / n;
        if (std::abs(hz - 1000 * std::round(hz / 1000)) < 5 * double(kSinkRate) / n) continue;
        if (power[b] > worstOther) {
            worstOther = power[b];
            worstOtherHz = hz;
        }
    }
    const double otherDbc = 10 * std::log10(worstOther / power[std::size_t(std::lround(1000.0 * n / kSinkRate))]);
    report("square 1000 Hz: largest harmonic error against 1/n", worstHarmonicDb, "dB");
    report("square 1000 Hz: strongest component off the harmonics", otherDbc, "dBc");
    report("square 1000 Hz: at", worstOtherHz, "Hz");
    EXPECT_LE(std::abs(worstHarmonicDb), 0.1);
    EXPECT_LT(otherDbc, -80.0);
}

// The frequency between rising zero crossings, fitted as log f = a + b t:
// a logarithmic sweep is a straight line, its slope ln(f1/f0)/T.
TEST_F(GeneratorAtTheSink, ALogarithmicSweepFollowsItsLawWithoutAClick) {
    SignalParameters sweep = signalOf(Waveform::Sine, 20, -6);
    sweep.sweep = SweepLaw::Logarithmic;
    sweep.sweepTo = 20000;
    sweep.sweepSeconds = 10;
    const Heard heard = play(sweep, 9800);
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, heard.from);
    ASSERT_GT(heard.left.size(), std::size_t(8 * kSinkRate)) << "the sweep was not heard";
    std::vector<double> t, logF;
    double last = -1;
    const auto& x = heard.left;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (!(x[i - 1] < 0 && x[i] >= 0)) continue;
        const double crossing = double(i - 1) + double(x[i - 1]) / double(x[i - 1] - x[i]);
        if (last >= 0) {
            const double hz = kSinkRate / (crossing - last);
            if (hz > 30 && hz < 3000) {
                t.push_back((crossing + last) / 2 / kSinkRate);
                logF.push_back(std::log(hz));
            }
        }
        last = crossing;
    }
    ASSERT_GT(t.size(), std::size_t(1000));
    double st = 0, sf = 0, stt = 0, stf = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        st += t[i];
        sf += logF[i];
        stt += t[i] * t[i];
        stf += t[i] * logF[i];
    }
    const double m = double(t.size());
    const double slope = (m * stf - st * sf) / (m * stt - st * st);
    const double intercept = (sf - slope * st) / m;
    double worst = 0;
    for (std::size_t i = 0; i < t.size(); ++i) worst = std::max(worst, std::abs(std::expm1(logF[i] - intercept - slope * t[i])));
    const double lawSlope = std::log(1000.0) / 10;
    report("log sweep: slope against the law", (slope / lawSlope - 1) * 100, "%");
    report("log sweep: largest deviation of the frequency from the fitted law", worst * 100, "%");
    EXPECT_NEAR(slope, lawSlope, lawSlope * 0.001);
    EXPECT_LT(worst, 0.001);
    // No click: from 100 Hz on (where 50 ms hold five periods) every 50 ms
    // keeps the level (no gap), and no sample steps further than the
    // sweep's own frequency allows there.
    const double amplitude = 32767 * std::pow(10.0, -6 / 20.0);
    const int block = int(framesOf(50));
    int dips = 0, jumps = 0;
    for (std::size_t at = 0; at + std::size_t(block) <= x.size(); at += std::size_t(block)) {
        const double hz = std::exp(intercept + slope * (double(at + std::size_t(block)) / kSinkRate));
        double sum = 0;
        for (std::size_t i = at; i < at + std::size_t(block); ++i) sum += double(x[i]) * x[i];
        const double rms = std::sqrt(sum / block);
        if (std::exp(intercept + slope * double(at) / kSinkRate) > 100 && std::abs(rms / (amplitude / std::sqrt(2.0)) - 1) > 0.03)
            ++dips;
        const double allowed = amplitude * 2 * std::sin(std::numbers::pi * std::min(hz, kSinkRate / 2.0) / kSinkRate) + 3;
        for (std::size_t i = std::max<std::size_t>(at, 1); i < at + std::size_t(block); ++i)
            if (std::abs(int(x[i]) - int(x[i - 1])) > allowed) ++jumps;
    }
    report("log sweep: 50 ms blocks off the level", dips, "");
    EXPECT_EQ(dips, 0);
    EXPECT_EQ(jumps, 0);
}

// The peak of a signal at -6 dBFS.
const double kMinus6DbfsPeak = 32767 * std::pow(10.0, -6 / 20.0);

// 1000 Hz, then 1500 Hz from halfway: no step larger than a 1500 Hz sine's
// own and no dip in the level where they meet.
void expectASeamlessChange(const std::vector<std::int16_t>& x, double amplitude) {
    const double allowed = amplitude * 2 * std::sin(std::numbers::pi * 1500 / kSinkRate) + 3;
    int largest = 0;
    for (std::size_t i = 1; i < x.size(); ++i) largest = std::max(largest, std::abs(int(x[i]) - int(x[i - 1])));
    report("1000 -> 1500 Hz: largest step", largest, "LSB");
    report("1000 -> 1500 Hz: a 1500 Hz sine's own largest step", allowed - 3, "LSB");
    EXPECT_LE(largest, allowed);
    const std::size_t third = x.size() / 3;
    EXPECT_NEAR(measuredHz(x, 0, qint64(third / 2)), 1000, 0.5);
    EXPECT_NEAR(measuredHz(x, qint64(x.size() - third / 2), qint64(x.size())), 1500, 0.5);
    const int block = int(framesOf(5));
    int dips = 0;
    for (std::size_t at = 0; at + std::size_t(block) <= x.size(); at += std::size_t(block)) {
        int peak = 0;
        for (std::size_t i = at; i < at + std::size_t(block); ++i) peak = std::max(peak, std::abs(int(x[i])));
        if (peak < 0.97 * amplitude) ++dips;
    }
    EXPECT_EQ(dips, 0) << "the level holds through the change";
}

TEST_F(GeneratorAtTheSink, AChangeOfFrequencyWhilePlayingLeavesNoDiscontinuity) {
    SignalParameters signal = signalOf(Waveform::Sine, 1000, -6);
    qint64 asked = 0;
    const Heard heard = play(signal, 2000, [&] {
        signal.frequency = 1500;
        asked = recorder.position();
        stream->change(signal);
    });
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
    ASSERT_GT(heard.left.size(), std::size_t(kSinkRate)) << "the tone was not heard";
    const auto& x = heard.left;
    expectASeamlessChange(x, kMinus6DbfsPeak);
    // Heard where the periods first shorten (1500 Hz: 32 frames at 48 kHz).
    double last = -1, changed = -1;
    for (std::size_t i = 1; i < x.size() && changed < 0; ++i) {
        if (!(x[i - 1] < 0 && x[i] >= 0)) continue;
        const double crossing = double(i - 1) + double(x[i - 1]) / double(x[i - 1] - x[i]);
        if (last >= 0 && kSinkRate / (crossing - last) > 1250) changed = last;
        last = crossing;
    }
    ASSERT_GE(changed, 0) << "the change was not heard";
    const double delayMs = msOf(heard.from + qint64(changed) - asked);
    report("1000 -> 1500 Hz: heard after the change was asked", delayMs, "ms");
    EXPECT_LE(delayMs, 50.0);
}

// With only a recorder asking for a long latency, PipeWire runs the graph
// at the cycle our stream asks for (see RealTone's stop test; PulseAudio's
// monitor cannot show this).
class GeneratorAloneAtTheSink : public GeneratorAtTheSink {
protected:
    void SetUp() override {
        if (soundServerReachable() && AudioOutput::instance().deviceInfo().driver != "PipeWire")
            GTEST_SKIP() << SinkRecorder::kRewindsUnseenAtPulseAudio;
        GeneratorAtTheSink::SetUp();
    }
    int recorderLatencyMs() const override { return SinkRecorder::kLongLatencyMs; }
};

TEST_F(GeneratorAloneAtTheSink, AChangeOfFrequencyLeavesNoDiscontinuityWhenOurStreamSetsTheCycle) {
    SignalParameters signal = signalOf(Waveform::Sine, 1000, -6);
    const Heard heard = play(signal, 2000, [&] {
        signal.frequency = 1500;
        stream->change(signal);
    });
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, heard.from);
    ASSERT_GT(heard.left.size(), std::size_t(kSinkRate)) << "the tone was not heard";
    expectASeamlessChange(heard.left, kMinus6DbfsPeak);
}

} // namespace

} // namespace tonara::test
