// The mixer, driven by hand in place of the audio thread.
#include "Mixer.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

using namespace tonara;

namespace {

constexpr int kRate = 48000;
constexpr int kFade = kRate * Mixer::kFadeMs / 1000;
constexpr float kFull = 30000.0f / 32768;

std::shared_ptr<const PcmSound> soundOf(const std::vector<float>& mono, int rate = kRate) {
    auto s = std::make_shared<PcmSound>();
    s->rate = rate;
    for (float v : mono) s->samples.insert(s->samples.end(), {v, v});
    return s;
}

std::shared_ptr<const PcmSound> constant(float level, int frames) {
    return soundOf(std::vector<float>(size_t(frames), level));
}

// Left channel of the next frames, mixed in buffers of the given size.
std::vector<float> left(Mixer& mixer, int frames, int buffer = 256) {
    std::vector<float> l;
    std::vector<float> out;
    for (int done = 0; done < frames; done += buffer) {
        const int n = std::min(buffer, frames - done);
        out.assign(size_t(n) * 2, 0.0f);
        mixer.mix(out.data(), n);
        for (int i = 0; i < n; ++i) l.push_back(out[size_t(i) * 2]);
    }
    return l;
}

float peak(const std::vector<float>& v, size_t from = 0, size_t to = SIZE_MAX) {
    float p = 0;
    for (size_t i = from; i < std::min(to, v.size()); ++i) p = std::max(p, std::abs(v[i]));
    return p;
}

// Runs of frames at or above half of level: [start, end) each.
std::vector<std::pair<int, int>> runsAbove(const std::vector<float>& v, float level) {
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < int(v.size()); ++i) {
        if (v[size_t(i)] < level / 2) continue;
        if (!runs.empty() && runs.back().second == i) ++runs.back().second;
        else runs.push_back({i, i + 1});
    }
    return runs;
}

} // namespace

TEST(AudioMixer, PlaysSampleForSampleFromTheFirstFrameWithin16Bits) {
    Mixer mixer(kRate);
    EXPECT_EQ(left(mixer, 8), std::vector<float>(8, 0.0f)); // silence when nothing plays

    Voice* idle = mixer.add(soundOf({0.1f, 0.2f}));
    EXPECT_EQ(left(mixer, 4), std::vector<float>(4, 0.0f));
    idle->play(false);
    EXPECT_EQ(left(mixer, 4), (std::vector<float>{0.1f, 0.2f, 0, 0})); // within the next buffer, from frame 0

    Mixer exact(kRate);
    exact.add(soundOf({30000.0f / 32768, -30000.0f / 32768, 1.0f / 32768}))->play(true);
    std::vector<std::int16_t> out(8);
    exact.mix(out.data(), 4);
    EXPECT_EQ(out, (std::vector<std::int16_t>{30000, 30000, -30000, -30000, 1, 1, 30000, 30000}));
}

TEST(AudioMixer, PlaysOnceOrLoopsAndRestartsOnlyWhenNotPlaying) {
    Mixer mixer(kRate);
    Voice* v = mixer.add(soundOf({0.1f, 0.2f, 0.3f}));
    v->play(true);
    EXPECT_EQ(left(mixer, 7), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f, 0.1f}));
    v->play(false); // already playing: no jump back, the loop just ends after this pass
    EXPECT_EQ(left(mixer, 4), (std::vector<float>{0.2f, 0.3f, 0, 0}));
    v->play(false); // after the end: from the start again
    EXPECT_EQ(left(mixer, 2), (std::vector<float>{0.1f, 0.2f}));
    v->setVolume(0.5f);
    EXPECT_EQ(left(mixer, 1), (std::vector<float>{0.15f}));
    v->setVolume(7.0f); // clamped to 1
    v->play(true);
    EXPECT_EQ(left(mixer, 2), (std::vector<float>{0.1f, 0.2f}));
}

TEST(AudioMixer, StopFadesOutOverAFewMillisecondsInsteadOfCutting) {
    Mixer mixer(kRate);
    Voice* v = mixer.add(constant(0.8f, 1000));
    v->play(true);
    left(mixer, 10);
    v->stop(); // played for almost no time by the clock: the fade starts at once
    const std::vector<float> out = left(mixer, kFade + 50);
    EXPECT_FLOAT_EQ(out[0], 0.8f); // no step down at the stop
    for (int i = 1; i < kFade; ++i) ASSERT_LT(out[size_t(i)], out[size_t(i - 1)]) << i;
    for (size_t i = kFade; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f) << i;
    // The largest step anywhere in the fade is one fade increment.
    for (int i = 1; i < kFade; ++i) ASSERT_LE(out[size_t(i - 1)] - out[size_t(i)], 0.8f / kFade * 1.01f);
}

// Whatever the buffer size, and wherever the fade ends in a buffer.
TEST(AudioMixer, AVoiceThatReplacesAFadingOneStartsWhenTheFadeHasEnded) {
    for (const int buffer : {64, 100, 256, 1000}) {
        SCOPED_TRACE(buffer);
        Mixer mixer(kRate);
        Voice* old = mixer.add(constant(0.8f, 5000));
        old->play(true);
        left(mixer, 37, buffer);
        mixer.release(old);
        mixer.add(constant(0.7f, 5000))->play(true);
        const std::vector<float> out = left(mixer, 3 * kFade, buffer);
        EXPECT_LE(peak(out), 0.8f) << "two voices summed";
        // The old one fades over kFade frames; the new one starts on the next.
        EXPECT_GT(out[size_t(kFade - 1)], 0.0f);
        EXPECT_LT(out[size_t(kFade - 1)], 0.8f / kFade * 1.01f);
        EXPECT_FLOAT_EQ(out[size_t(kFade)], 0.7f);
        mixer.collect();
        EXPECT_EQ(mixer.voiceCount(), 1) << "the faded voice was not freed";
    }
}

TEST(AudioMixer, BackToBackTimedTonesAreSeparateNeverSumAndKeepTime) {
    // Nine timed tones of 60 ms, each asked for when the one before has had
    // its time, as Beep does: each fades, the next follows the fade, and the
    // sound never falls behind the clock of the program that asks.
    Mixer mixer(kRate);
    const int toneFrames = kRate * 60 / 1000;
    std::vector<float> out;
    for (int i = 0; i < 9; ++i) {
        mixer.playDetachedFor(constant(0.9f, kRate), toneFrames);
        const std::vector<float> part = left(mixer, toneFrames);
        out.insert(out.end(), part.begin(), part.end());
    }
    const std::vector<float> tail = left(mixer, kFade + 10);
    out.insert(out.end(), tail.begin(), tail.end());

    EXPECT_LE(peak(out), 0.9f);
    const auto runs = runsAbove(out, 0.9f);
    ASSERT_EQ(runs.size(), 9u);
    EXPECT_EQ(runs[0].first, 0);
    for (int i = 0; i < 9; ++i) {
        const auto [start, end] = runs[size_t(i)];
        // At full level until its time is up, then half of the fade above half level.
        EXPECT_EQ(end, (i + 1) * toneFrames + kFade / 2 + 1) << i;
        if (i == 0) continue;
        EXPECT_EQ(start, i * toneFrames + kFade) << "tone " << i << " did not follow the fade";
        EXPECT_LT(out[size_t(start - 1)], 0.9f / kFade * 1.01f) << "no dip before tone " << i;
    }
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 0);
}

TEST(AudioMixer, ATimedStopLetsTheToneSoundAsLongAsItWasPlaying) {
    // The play and its stop both arrive before the audio thread looks, as
    // when the output's buffer is long: the tone still sounds its time.
    Mixer mixer(kRate);
    Voice* v = mixer.add(constant(0.5f, kRate));
    const auto before = std::chrono::steady_clock::now();
    v->play(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    v->stop();
    const double mostMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    const auto runs = runsAbove(left(mixer, kRate / 2), 0.5f);
    ASSERT_EQ(runs.size(), 1u);
    const double soundedMs = (runs[0].second - runs[0].first - kFade / 2) * 1000.0 / kRate;
    EXPECT_GE(soundedMs, 30.0 - 0.05);
    EXPECT_LE(soundedMs, mostMs + 0.05);
}

TEST(AudioMixer, ATimedToneIsNotLengthenedByAStopThatComesLate) {
    for (const int buffer : {64, 256, 1000}) {
        SCOPED_TRACE(buffer);
        Mixer mixer(kRate);
        Voice* v = mixer.add(constant(0.5f, 100));
        v->playFor(4800);
        std::vector<float> out = left(mixer, 5000, buffer);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        mixer.release(v); // the interface thread woke late: its stop reaches the mixer after the end
        const std::vector<float> rest = left(mixer, 1000, buffer);
        out.insert(out.end(), rest.begin(), rest.end());
        const auto runs = runsAbove(out, 0.5f);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0], std::make_pair(0, 4800 + kFade / 2 + 1));
    }
    // Stops without a play, however many, sound nothing.
    Mixer mixer(kRate);
    Voice* never = mixer.add(constant(0.5f, 100));
    never->stop();
    never->stop();
    EXPECT_EQ(peak(left(mixer, 500)), 0.0f);
    mixer.release(never);
    left(mixer, 1);
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 0);
}

TEST(AudioMixer, ALoopingVoiceBesideATimedToneIsNotHeldBack) {
    Mixer mixer(kRate);
    mixer.add(constant(0.3f, 100))->play(true);
    mixer.playDetachedFor(constant(0.2f, 100), 50);
    Voice* later = mixer.add(constant(0.1f, 100));
    later->play(true);
    const std::vector<float> out = left(mixer, 400);
    EXPECT_FLOAT_EQ(out[0], 0.5f);                 // the loop and the timed tone; the later voice waits
    EXPECT_FLOAT_EQ(out[50 + kFade], 0.4f);        // then it follows the timed tone's fade
}

// A program that ends waits for a timed tone or a sound that plays once,
// but not for a loop that only a stop would end.
TEST(AudioMixer, OnlyALoopThatNothingHasStoppedIsEndless) {
    Mixer mixer(kRate);
    EXPECT_FALSE(mixer.endlessSound());
    Voice* loop = mixer.add(constant(0.1f, 100));
    loop->play(true);
    left(mixer, 64);
    EXPECT_TRUE(mixer.endlessSound());
    loop->stop();
    left(mixer, 64);
    EXPECT_FALSE(mixer.endlessSound()) << "fading after its stop";
    left(mixer, 2 * kFade);
    mixer.playDetachedFor(constant(0.1f, 100), 10 * kFade);
    left(mixer, 64);
    EXPECT_FALSE(mixer.endlessSound()) << "a timed tone ends by itself";
    left(mixer, 10 * kFade - 64 + kFade / 2);
    EXPECT_FALSE(mixer.endlessSound()) << "a timed tone fading after its time";
    left(mixer, 20 * kFade);
    mixer.add(constant(0.1f, 1000))->play(false);
    left(mixer, 64);
    EXPECT_FALSE(mixer.endlessSound()) << "a sound that plays once";
    EXPECT_EQ(mixer.framesSinceSound(), 0) << "and it still sounds";
}

TEST(AudioMixer, LoudSumsClipInsteadOfWrapping) {
    Mixer mixer(kRate);
    mixer.add(constant(0.8f, 100))->play(true);
    mixer.add(constant(0.8f, 100))->play(true);
    mixer.add(constant(-0.1f, 100))->play(true);
    std::vector<std::int16_t> out(4);
    mixer.mix(out.data(), 2);
    EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, 32767, 32767}));
}

TEST(AudioMixer, VoicesComeAndGoWhileTheAudioThreadMixes) {
    Mixer mixer(kRate);
    std::atomic<bool> running{true};
    std::atomic<long> buffers{0};
    std::thread audio([&] {
        std::vector<std::int16_t> out(512 * 2);
        while (running) {
            mixer.mix(out.data(), 512);
            ++buffers;
        }
    });
    const auto sound = constant(0.01f, 4410);
    std::vector<Voice*> live;
    for (int i = 0; i < 3000; ++i) {
        live.push_back(mixer.add(sound));
        live.back()->play(i % 2 == 0);
        if (i % 3 == 0) mixer.playDetachedFor(sound, 64);
        if (live.size() > 8) {
            mixer.release(live.front());
            live.erase(live.begin());
        }
        mixer.collect();
    }
    for (Voice* v : live) mixer.release(v);
    const long released = buffers;
    while (buffers < released + 40) std::this_thread::yield(); // every fade and timed tone has ended by then
    running = false;
    audio.join();
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 0);
    EXPECT_GT(mixer.framesSinceSound(), 0);
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
