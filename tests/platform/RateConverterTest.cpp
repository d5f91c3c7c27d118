// Sounds converted to the output's rate and played through the engine, as
// the audio output does: level and purity of what comes out.
#include "AudioEngine.h"
#include "RateConverter.h"
#include "ToneAnalysis.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace tonara::test {
using tonara::test::analyseTone;
using tonara::test::levelDb;

namespace {

constexpr double kFull = 30000.0 / 32768;

// One second of a 16-bit sine at rate: an integer pitch loops without a seam.
std::shared_ptr<const PcmSound> oneSecondSine(int hz, int rate) {
    auto s = std::make_shared<PcmSound>();
    s->rate = rate;
    s->samples.resize(size_t(rate) * 2);
    for (int n = 0; n < rate; ++n) {
        const double v = std::nearbyint(30000.0 * std::sin(2 * std::numbers::pi * hz * n / rate)) / 32768;
        s->samples[size_t(n) * 2] = s->samples[size_t(n) * 2 + 1] = float(v);
    }
    return s;
}

// The left channel of seconds of the sound looped through the engine.
std::vector<double> looped(std::shared_ptr<const PcmSound> sound, double seconds) {
    AudioEngine engine(sound->rate);
    engine.play(engine.add(std::move(sound)), true);
    engine.take(0);
    const int frames = int(seconds * engine.rate());
    std::vector<float> out(size_t(frames) * 2);
    for (int done = 0; done < frames; done += 512) engine.mix(out.data() + size_t(done) * 2, done, std::min(512, frames - done));
    std::vector<double> l(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) l[size_t(i)] = out[size_t(i) * 2];
    return l;
}

double peak(const std::vector<double>& v) {
    double p = 0;
    for (double x : v) p = std::max(p, std::abs(x));
    return p;
}

} // namespace

// Through the loop point more than once: the seam is part of what is measured.
TEST(RateConverter, SinesOf44100HzSoundsKeepTheirLevelAndStayPureAtTheOutputsRate) {
    RateConverter converter;
    for (const int deviceRate : {48000, 96000})
        for (const int hz : {1000, 10000, 16600, 21000}) {
            SCOPED_TRACE(testing::Message() << hz << " Hz at " << deviceRate);
            const auto sound = converter.convert(oneSecondSine(hz, 44100), deviceRate, true);
            ASSERT_TRUE(sound);
            EXPECT_EQ(sound->rate, deviceRate);
            EXPECT_EQ(sound->frameCount(), deviceRate);
            const auto purity = analyseTone(looped(sound, 2.5), deviceRate, hz);
            EXPECT_NEAR(purity.hz, hz, 1e-3);
            EXPECT_LT(std::abs(levelDb(purity.amplitude, kFull)), 0.1) << purity.amplitude;
            EXPECT_LT(purity.worstSpuriousDbc, -90.0) << "at " << purity.worstSpuriousHz << " Hz";
        }
}

TEST(RateConverter, PitchesTheOutputCannotCarryAreFilteredOutNotFolded) {
    RateConverter converter;
    // 30 kHz from a 96 kHz sound would fold to 18 kHz at 48 kHz.
    const auto high = converter.convert(oneSecondSine(30000, 96000), 48000, true);
    ASSERT_TRUE(high);
    EXPECT_LT(levelDb(peak(looped(high, 1.0)), kFull), -90.0);
    // 20 kHz from the same rate passes whole.
    const auto audible = converter.convert(oneSecondSine(20000, 96000), 48000, true);
    const auto purity = analyseTone(looped(audible, 1.5), 48000, 20000);
    EXPECT_LT(std::abs(levelDb(purity.amplitude, kFull)), 0.1);
    EXPECT_LT(purity.worstSpuriousDbc, -90.0) << "at " << purity.worstSpuriousHz << " Hz";
}

TEST(RateConverter, ASoundPlayedOnceKeepsItsTimingAndEndsSilently) {
    RateConverter converter;
    // 100 ms of 1 kHz at 22 050 Hz, then 100 ms of silence.
    auto once = std::make_shared<PcmSound>();
    once->rate = 22050;
    once->samples.assign(size_t(4410) * 2, 0.0f);
    for (int n = 0; n < 2205; ++n)
        once->samples[size_t(n) * 2] = once->samples[size_t(n) * 2 + 1] =
            float(0.5 * std::sin(2 * std::numbers::pi * 1000 * n / 22050));
    const auto converted = converter.convert(once, 48000, false);
    ASSERT_TRUE(converted);
    ASSERT_EQ(converted->frameCount(), 9600);
    std::vector<double> tone, after;
    for (int i = 480; i < 4320; ++i) tone.push_back(converted->samples[size_t(i) * 2]);
    for (int i = 5040; i < 9600; ++i) after.push_back(converted->samples[size_t(i) * 2]);
    const auto purity = analyseTone(tone, 48000, 1000);
    EXPECT_NEAR(purity.amplitude, 0.5, 0.5 * 0.01);
    EXPECT_LT(peak(after), 1e-4); // 5 ms after its end the filter has stopped ringing
    // Not shifted in time: phase 0 at the first frame, as in the sound.
    EXPECT_NEAR(converted->samples[size_t(480) * 2], 0.5 * std::sin(2 * std::numbers::pi * 1000 * 480 / 48000), 2e-3);
}

TEST(RateConverter, ASoundAtTheOutputsRateIsPassedOnAsItIs) {
    RateConverter converter;
    const auto sound = oneSecondSine(1000, 48000);
    EXPECT_EQ(converter.convert(sound, 48000, true), sound);
    EXPECT_EQ(converter.convert(nullptr, 48000, true), nullptr);
}

// The same sound again, as Play after Play brings it, gets the conversion
// made the last time; anything that changes what comes out is converted anew.
TEST(RateConverter, TheSameSoundConvertedTheSameWayAgainGetsTheLastConversion) {
    const auto sine = oneSecondSine(1000, 44100);
    auto oneSampleOff = std::make_shared<PcmSound>(*sine);
    oneSampleOff->samples[44100] += 1.0f / 32768;
    auto otherRate = std::make_shared<PcmSound>(*sine);
    otherRate->rate = 32000;
    struct Case {
        const char* what;
        std::shared_ptr<const PcmSound> sound;
        int rate;
        bool looping;
        bool reused;
    } const cases[] = {
        {"an equal copy", std::make_shared<PcmSound>(*sine), 48000, true, true},
        {"one sample off", oneSampleOff, 48000, true, false},
        {"made at another rate", otherRate, 48000, true, false},
        {"played once", sine, 48000, false, false},
        {"for another output rate", sine, 96000, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RateConverter converter;
        const auto first = converter.convert(sine, 48000, true);
        const auto next = converter.convert(c.sound, c.rate, c.looping);
        ASSERT_TRUE(first && next);
        EXPECT_EQ(next == first, c.reused);
        // Whether reused or not, it is what a converter that never saw the first sound makes.
        RateConverter fresh;
        const auto alone = fresh.convert(c.sound, c.rate, c.looping);
        ASSERT_TRUE(alone);
        EXPECT_EQ(next->rate, alone->rate);
        EXPECT_EQ(next->samples, alone->samples);
    }
}

} // namespace tonara::test
