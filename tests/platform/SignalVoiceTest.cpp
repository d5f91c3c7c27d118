// Generated signals in the engine, mixed by hand: level, ears, fades and
// changes while playing, to the frame.
#include "AudioEngine.h"
#include "SignalRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace tonara::test {

namespace {

constexpr int kRate = 48000;
constexpr int kFade = kRate * AudioEngine::kSignalFadeMs / 1000;

std::vector<float> mixed(AudioEngine& engine, std::int64_t from, int frames) {
    engine.take(from);
    std::vector<float> out(std::size_t(frames) * 2);
    engine.mix(out.data(), from, frames);
    return out;
}

float channelPeak(const std::vector<float>& stereo, int channel, std::size_t first = 0) {
    float peak = 0;
    for (std::size_t i = first * 2 + std::size_t(channel); i < stereo.size(); i += 2) peak = std::max(peak, std::abs(stereo[i]));
    return peak;
}

SignalParameters sine(double hertz, double levelDb, SignalChannel channel = SignalChannel::Both) {
    SignalParameters parameters;
    parameters.frequency = hertz;
    parameters.levelDb = levelDb;
    parameters.channel = channel;
    return parameters;
}

TEST(SignalVoice, PlaysAtItsLevelInTheEarsAsked) {
    const struct { SignalChannel channel; float left, right; } cases[] = {
        {SignalChannel::Both, 1, 1}, {SignalChannel::Left, 1, 0}, {SignalChannel::Right, 0, 1},
        {SignalChannel::BothRightInverted, 1, -1}};
    for (const auto& c : cases) {
        AudioEngine engine(kRate);
        engine.setMasterGain(0.1f); // the generator's level is its own
        Voice* voice = engine.addSignal(sine(440.25, -20, c.channel), false);
        engine.play(voice, true);
        const auto out = mixed(engine, 0, kRate);
        const double amplitude = 3276.7 / 32768;
        for (std::size_t n = kFade; n < std::size_t(kRate); n += 331) {
            const double expected = amplitude * std::sin(2 * std::numbers::pi * 440.25 * double(n) / kRate);
            ASSERT_NEAR(out[2 * n], c.left * expected, 2e-7) << n;
            ASSERT_NEAR(out[2 * n + 1], c.right * expected, 2e-7) << n;
        }
    }
}

// Raised-cosine fades of 5 ms at both ends; a timed signal ends by itself.
TEST(SignalVoice, FadesInAndOutOverFiveMilliseconds) {
    AudioEngine engine(kRate);
    SignalParameters parameters = sine(1000, 0);
    parameters.waveform = Waveform::Square;
    Voice* voice = engine.addSignal(parameters, false);
    const int timed = kRate / 10;
    engine.playFor(voice, timed);
    const auto out = mixed(engine, 0, timed + kRate / 10);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_LT(channelPeak({out.begin(), out.begin() + kFade / 4 * 2}, 0), 0.16f); // the fade's first quarter
    EXPECT_GT(channelPeak({out.begin() + kFade * 2, out.begin() + 4 * kFade * 2}, 0), 0.7f);
    EXPECT_GT(channelPeak({out.begin() + std::ptrdiff_t(timed - 2 * kFade) * 2, out.begin() + timed * 2}, 0), 0.7f);
    EXPECT_EQ(channelPeak(out, 0, std::size_t(timed + kFade)), 0.0f);
    EXPECT_GT(channelPeak({out.begin() + timed * 2, out.begin() + (timed + kFade / 2) * 2}, 0), 0.0f);
    EXPECT_EQ(engine.quietFrom(), timed + kFade);
}

// The largest step from one sample to the next.
float largestStep(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
    float step = 0;
    for (std::size_t n = from + 1; n < to; ++n) step = std::max(step, std::abs(stereo[2 * n] - stereo[2 * n - 2]));
    return step;
}

// A change while playing continues the phase: no step larger than the
// faster of the two waves makes of itself.
TEST(SignalVoice, ChangesWithoutADiscontinuity) {
    const struct { Waveform before, after; double fromHz, toHz; } changes[] = {
        {Waveform::Sine, Waveform::Sine, 1000, 1500}, {Waveform::Sine, Waveform::Sine, 3000, 440.25},
        {Waveform::Square, Waveform::Square, 500, 700}, {Waveform::Sine, Waveform::Sawtooth, 800, 800},
        {Waveform::Triangle, Waveform::Sine, 2000, 300}};
    for (const auto& c : changes) {
        AudioEngine engine(kRate);
        SignalParameters parameters = sine(c.fromHz, -6);
        parameters.waveform = c.before;
        Voice* voice = engine.addSignal(parameters, false);
        engine.play(voice, true);
        const int changeAt = 12345;
        auto out = mixed(engine, 0, changeAt);
        parameters.waveform = c.after;
        parameters.frequency = c.toHz;
        engine.setSignal(voice, parameters);
        const auto later = mixed(engine, changeAt, kRate / 2);
        out.insert(out.end(), later.begin(), later.end());
        const float ownBefore = largestStep(out, 1000, changeAt - 10);
        const float ownAfter = largestStep(out, changeAt + 2 * kFade, out.size() / 2);
        const float across = largestStep(out, changeAt - 10, changeAt + 2 * kFade);
        SCOPED_TRACE(testing::Message() << int(c.before) << " " << c.fromHz << " Hz to " << int(c.after) << " " << c.toHz);
        EXPECT_LE(across, std::max(ownBefore, ownAfter) * 1.02f);
        EXPECT_GT(across, 0.0f);
    }
}

// A new level ramps over the gain ramp's 5 ms: no sample jumps.
TEST(SignalVoice, RampsALevelChange) {
    AudioEngine engine(kRate);
    SignalParameters parameters = sine(100, -40);
    Voice* voice = engine.addSignal(parameters, false);
    engine.play(voice, true);
    const int changeAt = 4800; // a peak of the 100 Hz sine lies 120 frames on
    auto out = mixed(engine, 0, changeAt);
    parameters.levelDb = 0;
    engine.setSignal(voice, parameters);
    const auto later = mixed(engine, changeAt, kRate / 10);
    out.insert(out.end(), later.begin(), later.end());
    const int ramp = kRate * AudioEngine::kGainRampMs / 1000;
    EXPECT_LT(std::abs(out[2 * (changeAt + 1)]), 0.02f); // not yet loud
    EXPECT_NEAR(channelPeak(out, 0, std::size_t(changeAt + ramp)), 32767.0f / 32768, 1e-4);
    const float steadyStep = largestStep(out, std::size_t(changeAt + ramp), out.size() / 2);
    EXPECT_LE(largestStep(out, changeAt - 10, changeAt + ramp), steadyStep * 1.6f);
}

// Stopped, it fades at once; the engine hands the voice back once silent.
TEST(SignalVoice, StopsAtOnceAndIsFreed) {
    AudioEngine engine(kRate);
    Voice* voice = engine.addSignal(sine(440, -20));
    engine.play(voice, true);
    mixed(engine, 0, 1000);
    EXPECT_EQ(engine.quietFrom(), kNever);
    engine.release(voice);
    const auto out = mixed(engine, 1000, 2 * kFade);
    EXPECT_EQ(channelPeak(out, 0, kFade), 0.0f);
    mixed(engine, 1000 + 2 * kFade, 10);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 0);
}

// Dither of one 16-bit step where the signal sounds, none where it does not.
TEST(SignalVoice, DithersOnlyTheEarsItReaches) {
    AudioEngine plain(kRate), dithered(kRate);
    for (AudioEngine* engine : {&plain, &dithered}) {
        Voice* voice = engine->addSignal(sine(1000, -6, SignalChannel::Left), engine == &dithered);
        engine->play(voice, true);
    }
    const auto a = mixed(plain, 0, kRate), b = mixed(dithered, 0, kRate);
    double sum = 0, squares = 0, largest = 0;
    for (std::size_t n = 0; n < a.size(); n += 2) {
        const double d = (double(b[n]) - a[n]) * 32768;
        sum += d;
        squares += d * d;
        largest = std::max(largest, std::abs(d));
        ASSERT_EQ(b[n + 1], 0.0f) << "the right stays silent";
    }
    const double frames = double(a.size() / 2);
    EXPECT_LE(largest, 1.0001);
    EXPECT_NEAR(sum / frames, 0.0, 0.01);
    EXPECT_NEAR(std::sqrt(squares / frames), std::sqrt(1.0 / 6), 0.01) << "triangular over one step each way";
    EXPECT_EQ(mixed(dithered, 0, 4), mixed(dithered, 0, 4)) << "the same every time";
}

} // namespace

} // namespace tonara::test
