// The engine driven by hand in place of the driver's thread: every frame
// is the test's to choose, so placements are checked exactly.
#include "AudioEngine.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

namespace tonara::test {

namespace {

constexpr int kRate = 48000;
constexpr int kFade = kRate * AudioEngine::kFadeMs / 1000;
constexpr int kGap = int(kRate * AudioEngine::kGapMs / 1000);
constexpr float kFull = 30000.0f / 32768;

std::shared_ptr<const PcmSound> soundOf(const std::vector<float>& mono) {
    auto s = std::make_shared<PcmSound>();
    s->rate = kRate;
    for (float v : mono) s->samples.insert(s->samples.end(), {v, v});
    return s;
}

std::shared_ptr<const PcmSound> constant(float level, int frames) {
    return soundOf(std::vector<float>(size_t(frames), level));
}

// The left channel of frames [from, from + frames).
// A loop of a constant level, sounding from frame 0.
Voice* loopingFromFrame0(AudioEngine& engine, float level) {
    Voice* voice = engine.add(constant(level, 100));
    engine.play(voice, true);
    engine.take(0);
    return voice;
}

std::vector<float> left(const AudioEngine& engine, std::int64_t from, int frames) {
    std::vector<float> out(size_t(frames) * 2);
    engine.mix(out.data(), from, frames);
    std::vector<float> l(static_cast<size_t>(frames));
    for (size_t i = 0; i < l.size(); ++i) l[i] = out[i * 2];
    return l;
}

float peak(const std::vector<float>& v) {
    float p = 0;
    for (float x : v) p = std::max(p, std::abs(x));
    return p;
}

// Runs of frames at or above half of level: [start, end) each, in stream frames from `from`.
std::vector<std::pair<std::int64_t, std::int64_t>> runsAbove(const std::vector<float>& v, float level,
                                                             std::int64_t from = 0) {
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    for (std::int64_t i = 0; i < std::int64_t(v.size()); ++i) {
        if (v[size_t(i)] < level / 2) continue;
        if (!runs.empty() && runs.back().second == from + i) ++runs.back().second;
        else runs.push_back({from + i, from + i + 1});
    }
    return runs;
}

} // namespace

TEST(AudioEngine, PlaysSampleForSampleFromTheEarliestFrameAndRoundsTo16Bits) {
    AudioEngine engine(kRate);
    Voice* once = engine.add(soundOf({0.1f, 0.2f}));
    EXPECT_EQ(engine.take(100), kNever) << "an idle voice changes nothing";
    EXPECT_EQ(left(engine, 100, 4), std::vector<float>(4, 0.0f));
    engine.play(once, false);
    EXPECT_EQ(engine.take(104), 104);
    EXPECT_EQ(left(engine, 102, 5), (std::vector<float>{0, 0, 0.1f, 0.2f, 0}));
    // A second play of the same voice is ignored: a voice has one run.
    engine.play(once, false);
    EXPECT_EQ(engine.take(200), kNever);

    Voice* loop = engine.add(soundOf({kFull, -kFull, 1.0f / 32768}));
    engine.play(loop, true);
    EXPECT_EQ(engine.take(300), 300);
    std::vector<std::int16_t> out(8);
    engine.mix(out.data(), 300, 4);
    EXPECT_EQ(out, (std::vector<std::int16_t>{30000, 30000, -30000, -30000, 1, 1, 30000, 30000}));
    // Where the stream is mixed from does not matter: frame 1000 is the same frame whenever it is mixed.
    EXPECT_EQ(left(engine, 1000, 3), left(engine, 1000, 3));
    EXPECT_EQ(left(engine, 999, 2)[1], left(engine, 1000, 1)[0]);
}

TEST(AudioEngine, LoudSumsClipInsteadOfWrapping) {
    AudioEngine engine(kRate);
    for (float level : {0.8f, 0.8f, -0.1f}) engine.play(engine.add(constant(level, 100)), true);
    engine.take(0);
    std::vector<std::int16_t> out(4);
    engine.mix(out.data(), 0, 2);
    EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, 32767, 32767}));
}

// A stop is placed at the earliest frame the server has not played, however
// long the voice has sounded; the stream from there is mixed anew.
TEST(AudioEngine, AStopFadesOutAtTheEarliestFrameWithARaisedCosine) {
    AudioEngine engine(kRate);
    Voice* v = engine.add(constant(0.8f, 1000));
    engine.play(v, true);
    engine.take(0);
    const std::vector<float> before = left(engine, 5000, 2000);
    EXPECT_EQ(peak(before), 0.8f);
    engine.stop(v);
    EXPECT_EQ(engine.take(5200), 5200) << "the stream changed from the stop's frame";
    const std::vector<float> after = left(engine, 5000, 2000);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(after[size_t(i)], before[size_t(i)]) << "before the stop: " << i;
    EXPECT_FLOAT_EQ(after[200], 0.8f);
    double steepest = 0;
    for (int i = 201; i < 200 + kFade; ++i) {
        ASSERT_LT(after[size_t(i)], after[size_t(i - 1)]) << i;
        steepest = std::max(steepest, double(after[size_t(i - 1)] - after[size_t(i)]));
    }
    // A raised cosine falls at most pi/2 times as steeply as a straight line.
    EXPECT_LE(steepest, 0.8 / kFade * std::numbers::pi / 2 * 1.01);
    for (size_t i = 200 + kFade; i < after.size(); ++i) ASSERT_EQ(after[i], 0.0f) << i;
    EXPECT_EQ(engine.quietFrom(), 5200 + kFade);
}

TEST(AudioEngine, TheEarliestFrameNeverMovesBack) {
    AudioEngine engine(kRate);
    Voice* v = engine.add(constant(0.5f, 100));
    engine.take(1000);
    engine.play(v, true);
    EXPECT_EQ(engine.take(400), 1000) << "a request lands no earlier than a frame already given";
}

// Whatever older voice is on its way out, a new one waits for its silence
// and a gap, so two tones never sum and are always heard as two.
TEST(AudioEngine, AVoiceFollowsEveryOlderVoiceOnItsWayOutAfterAGap) {
    struct Case {
        const char* what;
        bool timed; // the older voice: timed to end, or stopped
    };
    for (const Case c : {Case{"after a stop", false}, Case{"after a timed tone", true}}) {
        SCOPED_TRACE(c.what);
        AudioEngine engine(kRate);
        Voice* old = engine.add(constant(0.8f, 5000));
        if (c.timed) engine.playFor(old, 300);
        else engine.play(old, true);
        engine.take(0);
        if (!c.timed) engine.stop(old);
        engine.release(old);
        engine.take(c.timed ? 100 : 300);
        Voice* next = engine.add(constant(0.7f, 5000));
        engine.play(next, true);
        EXPECT_EQ(engine.take(100), 300 + kFade + kGap);
        const std::vector<float> out = left(engine, 0, 600);
        EXPECT_LE(peak(out), 0.8f) << "two voices summed";
        const auto runs = runsAbove(out, 0.7f);
        ASSERT_EQ(runs.size(), 2u);
        EXPECT_EQ(runs[1].first, 300 + kFade + kGap);
    }
    // A loop that nothing stops is not on its way out: a voice beside it starts at once.
    AudioEngine engine(kRate);
    engine.play(engine.add(constant(0.3f, 100)), true);
    Voice* beside = engine.add(constant(0.1f, 100));
    engine.play(beside, true);
    engine.take(0);
    EXPECT_FLOAT_EQ(left(engine, 0, 1)[0], 0.4f);
}

// Timed tones asked for while the one before still sounds (the program
// waits for each only until shortly before its end) follow one another at
// the gap exactly, however late within that time each request came.
TEST(AudioEngine, TimedTonesAskedForInTimeFollowEachOtherAtTheGapAndKeepTheirLength) {
    AudioEngine engine(kRate);
    const int toneFrames = kRate * 100 / 1000;
    std::vector<float> out;
    // As the driver does: what lies before the earliest frame is mixed before it moves on.
    const auto advanceTo = [&](std::int64_t earliest) {
        const std::vector<float> part = left(engine, std::int64_t(out.size()), int(earliest - std::int64_t(out.size())));
        out.insert(out.end(), part.begin(), part.end());
        engine.take(earliest);
    };
    std::int64_t earliest = 480;
    std::uint64_t number = 0;
    for (int i = 0; i < 10; ++i) {
        Voice* v = engine.add(constant(0.9f, kRate));
        number = engine.playFor(v, toneFrames);
        engine.release(v); // a timed tone plays out its time
        advanceTo(earliest);
        const std::optional<std::int64_t> fade = engine.timedFadeFrame(number);
        ASSERT_TRUE(fade);
        // The next request arrives a varying while before this tone ends.
        earliest = *fade - 200 - 37 * i;
    }
    const std::int64_t lastFade = *engine.timedFadeFrame(number);
    EXPECT_FALSE(engine.timedFadeFrame(number + 1)) << "not asked for yet";
    advanceTo(lastFade + toneFrames);
    const auto runs = runsAbove(out, 0.9f);
    ASSERT_EQ(runs.size(), 10u);
    EXPECT_EQ(runs[0].first, 480);
    for (size_t i = 0; i < runs.size(); ++i) {
        // Full level for its time, then half of the fade at or above half level.
        EXPECT_EQ(runs[i].second - runs[i].first, toneFrames + kFade / 2 + 1) << i;
        if (i > 0) {
            EXPECT_EQ(runs[i].first - runs[i - 1].first, toneFrames + kFade + kGap) << i;
        }
    }
    EXPECT_EQ(lastFade, runs.back().first + toneFrames);
    // One asked for after the last has ended starts at the earliest frame.
    engine.playFor(engine.add(constant(0.9f, kRate)), toneFrames);
    const std::int64_t after = lastFade + kRate;
    EXPECT_EQ(engine.take(after), after);
}

TEST(AudioEngine, AStopCutsATimedToneAndAReleaseLetsItFinish) {
    for (const bool stopFirst : {false, true}) {
        SCOPED_TRACE(stopFirst ? "stopped" : "released");
        AudioEngine engine(kRate);
        Voice* v = engine.add(constant(0.5f, 100));
        engine.playFor(v, 4800);
        engine.take(0);
        if (stopFirst) engine.stop(v);
        engine.release(v);
        engine.take(1000);
        const auto runs = runsAbove(left(engine, 0, 6000), 0.5f);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0], std::make_pair(std::int64_t(0), std::int64_t((stopFirst ? 1000 : 4800) + kFade / 2 + 1)));
    }
    // A tone placed to start later that is stopped before then never sounds.
    AudioEngine engine(kRate);
    Voice* first = engine.add(constant(0.5f, 100));
    engine.playFor(first, 1000);
    Voice* second = engine.add(constant(0.5f, 100));
    engine.playFor(second, 1000);
    engine.take(0);
    engine.stop(first);
    engine.stop(second);
    engine.take(500);
    EXPECT_EQ(runsAbove(left(engine, 0, 4000), 0.5f).size(), 1u);
}

TEST(AudioEngine, AGainChangeRampsWithoutAStep) {
    AudioEngine engine(kRate);
    Voice* v = loopingFromFrame0(engine, 0.8f);
    engine.setGain(v, 0.25f, 0.25f);
    EXPECT_EQ(engine.take(1000), 1000);
    const std::vector<float> out = left(engine, 990, 2000);
    const int ramp = kRate * AudioEngine::kGainRampMs / 1000;
    EXPECT_FLOAT_EQ(out[0], 0.8f);
    for (size_t i = 1; i < out.size(); ++i) ASSERT_LE(std::abs(out[i] - out[i - 1]), 0.6f / ramp * 1.6f) << i;
    EXPECT_FLOAT_EQ(out[10 + size_t(ramp)], 0.2f);
    EXPECT_FLOAT_EQ(out.back(), 0.2f);
}

// Each ear has its gain, and a gain on everything rides above the voices';
// both move without a step.
TEST(AudioEngine, ChannelGainsAndTheMasterGainRampWithoutAStep) {
    AudioEngine engine(kRate);
    Voice* v = loopingFromFrame0(engine, 0.8f);
    engine.setGain(v, 1.0f, 0.0f);
    engine.setMasterGain(0.5f);
    EXPECT_EQ(engine.take(1000), 1000);
    const int ramp = kRate * AudioEngine::kGainRampMs / 1000;
    std::vector<float> out(size_t(2000) * 2);
    engine.mix(out.data(), 900, 2000);
    const auto left = [&](int i) { return out[size_t(i) * 2]; };
    const auto right = [&](int i) { return out[size_t(i) * 2 + 1]; };
    EXPECT_FLOAT_EQ(left(99), 0.8f);
    EXPECT_FLOAT_EQ(right(99), 0.8f);
    EXPECT_FLOAT_EQ(left(100 + ramp), 0.4f) << "the left at full gain under the master's half";
    EXPECT_FLOAT_EQ(right(100 + ramp), 0.0f) << "the right silent";
    // The steepest a raised cosine falls is pi/2 a ramp's step; on the right
    // two ramps fall together, the product at most 1.5 times as steeply.
    const double steepest = std::numbers::pi / 2 / ramp * 1.01;
    for (int i = 1; i < 2000; ++i) {
        ASSERT_LE(std::abs(left(i) - left(i - 1)), 0.4 * steepest) << i;
        ASSERT_LE(std::abs(right(i) - right(i - 1)), 0.8 * 1.5 * steepest) << i;
    }
    engine.setMasterGain(1.0f);
    engine.take(5000);
    std::vector<float> later(2);
    engine.mix(later.data(), 5000 + ramp, 1);
    EXPECT_FLOAT_EQ(later[0], 0.8f);
}

// Gains given before the voice plays hold from its first frame: the ear left
// out hears nothing, not the first milliseconds of a ramp.
TEST(AudioEngine, ChannelGainsSetBeforeAVoicePlaysHoldFromItsFirstFrame) {
    AudioEngine engine(kRate);
    Voice* v = engine.add(constant(0.8f, 100));
    engine.setGain(v, 1.0f, 0.0f);
    engine.play(v, true);
    engine.take(0);
    std::vector<float> out(size_t(2000) * 2);
    engine.mix(out.data(), 0, 2000);
    float rightPeak = 0;
    for (int i = 0; i < 2000; ++i) rightPeak = std::max(rightPeak, std::abs(out[size_t(i) * 2 + 1]));
    EXPECT_EQ(rightPeak, 0.0f);
    EXPECT_FLOAT_EQ(out[size_t(kFade) * 2 + 200], 0.8f) << "the left at full level once faded in";
}

TEST(AudioEngine, KnowsFromWhichFrameNothingSounds) {
    AudioEngine engine(kRate);
    engine.take(0);
    EXPECT_LT(engine.quietFrom(), 0) << "nothing at all";
    Voice* loop = engine.add(constant(0.1f, 100));
    engine.play(loop, true);
    engine.take(10);
    EXPECT_EQ(engine.quietFrom(), kNever) << "a loop that only a stop ends";
    engine.stop(loop);
    engine.take(50);
    EXPECT_EQ(engine.quietFrom(), 50 + kFade);
    engine.take(1000);
    engine.play(engine.add(constant(0.1f, 300)), false);
    engine.take(1000);
    EXPECT_EQ(engine.quietFrom(), 1300) << "a sound that plays once ends with itself";
    engine.playFor(engine.add(constant(0.1f, 100)), 1000);
    engine.take(1010);
    EXPECT_EQ(engine.quietFrom(), 1010 + 1000 + kFade) << "a timed tone beside it";
}

TEST(AudioEngine, ReleasedVoicesAreHandedBackOnceSilentBeforeTheEarliestFrame) {
    AudioEngine engine(kRate);
    Voice* v = engine.add(constant(0.1f, 100));
    engine.playFor(v, 1000);
    engine.release(v);
    engine.take(0);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 1) << "still sounding";
    engine.take(1000 + kFade - 1);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 1) << "its fade can still be mixed again";
    engine.take(1000 + kFade);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 0);
    // A voice released before it ever played is handed back at once.
    engine.release(engine.add(constant(0.1f, 100)));
    engine.take(2000);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 0);
}

TEST(AudioEngine, VoicesComeAndGoWhileTheAudioThreadMixes) {
    AudioEngine engine(kRate);
    std::atomic<bool> running{true};
    std::atomic<std::int64_t> frame{0};
    std::thread audio([&] {
        std::vector<std::int16_t> out(512 * 2);
        while (running) {
            const std::int64_t at = frame.load();
            engine.take(at);
            engine.mix(out.data(), at, 512);
            frame = at + 512;
        }
    });
    const auto sound = constant(0.01f, 4410);
    std::vector<Voice*> live;
    for (int i = 0; i < 3000; ++i) {
        live.push_back(engine.add(sound));
        if (i % 3 == 0) engine.playFor(live.back(), 64);
        else engine.play(live.back(), i % 2 == 0);
        if (live.size() > 8) {
            engine.release(live.front());
            live.erase(live.begin());
        }
        engine.collect();
    }
    for (Voice* v : live) {
        engine.stop(v);
        engine.release(v);
    }
    // Timed tones released earlier play out one after the other: wait for the last.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < giveUp) {
        engine.collect();
        if (engine.pending()) continue;
        const std::int64_t seen = frame;
        while (frame < seen + 1024) std::this_thread::yield(); // a take has run since
        if (engine.quietFrom() < frame) break;
    }
    running = false;
    audio.join();
    engine.take(frame);
    engine.collect();
    EXPECT_EQ(engine.voicesHeld(), 0);
    EXPECT_LT(engine.quietFrom(), frame.load());
}

TEST(BeepSound, IsOneSecondOfSineFromPhaseZeroThatLoopsSeamlessly) {
    const auto beep = beepSound(1500, kRate);
    ASSERT_EQ(beep->rate, kRate);
    ASSERT_EQ(beep->frameCount(), kRate);
    std::vector<float> l(static_cast<size_t>(kRate));
    for (int i = 0; i < kRate; ++i) l[size_t(i)] = beep->samples[size_t(i) * 2];
    EXPECT_EQ(l[0], 0.0f);
    EXPECT_EQ(beep->samples[1], beep->samples[0]);
    EXPECT_NEAR(peak(l), kFull, 1e-4);
    // The last frame is the one just before phase 0, so the loop has no seam.
    EXPECT_NEAR(l[size_t(kRate - 1)], -std::sin(2 * std::numbers::pi * 1500 / kRate) * kFull, 1e-6);

    EXPECT_EQ(peak(beepSound(24000, kRate)->samples), 0.0f); // at the limit: nothing rather than an alias
    EXPECT_GT(peak(beepSound(23999, kRate)->samples), 0.0f);
}

} // namespace tonara::test
