// The mixer, driven by hand in place of the audio thread.
#include "Mixer.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>

using namespace tonara;

namespace {

constexpr int kRate = 96000;
constexpr int kFade = kRate * Mixer::kFadeMs / 1000;

std::shared_ptr<const PcmSound> soundOf(int rate, const std::vector<float>& mono) {
    auto s = std::make_shared<PcmSound>();
    s->rate = rate;
    for (float v : mono) s->samples.insert(s->samples.end(), {v, v});
    return s;
}

std::shared_ptr<const PcmSound> constant(float level, int frames, int rate = kRate) {
    return soundOf(rate, std::vector<float>(size_t(frames), level));
}

std::shared_ptr<const PcmSound> sine(double hz, int rate, int frames) {
    std::vector<float> v(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) v[size_t(n)] = float(std::sin(2 * std::numbers::pi * hz * n / rate) * 0.9);
    return soundOf(rate, v);
}

// Left channel of the next frames.
std::vector<float> left(Mixer& mixer, int frames) {
    std::vector<float> out(size_t(frames) * 2);
    mixer.mix(out.data(), frames);
    std::vector<float> l(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) l[size_t(i)] = out[size_t(i) * 2];
    return l;
}

double crossingsPerSecond(const std::vector<float>& v, int rate) {
    int first = -1, last = -1, count = 0;
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i - 1] < 0 && v[i] >= 0) {
            if (first < 0) first = int(i);
            last = int(i);
            ++count;
        }
    return count > 1 ? (count - 1) * double(rate) / (last - first) : 0.0;
}

float peak(const std::vector<float>& v) {
    float p = 0;
    for (float x : v) p = std::max(p, std::abs(x));
    return p;
}

} // namespace

TEST(AudioMixer, PlaysAtTheDeviceRateSampleForSampleAndStartsAtTheFirstFrame) {
    Mixer mixer(kRate);
    EXPECT_EQ(left(mixer, 8), std::vector<float>(8, 0.0f)); // silence when nothing plays

    Voice* idle = mixer.add(soundOf(kRate, {0.1f, 0.2f}), false, false);
    EXPECT_EQ(left(mixer, 4), std::vector<float>(4, 0.0f));
    idle->play(false);
    EXPECT_EQ(left(mixer, 4), (std::vector<float>{0.1f, 0.2f, 0, 0})); // within the next buffer, from frame 0

    // The stereo int16 output carries a full-scale 16-bit value exactly.
    Mixer exact(kRate);
    exact.add(soundOf(kRate, {30000.0f / 32768, -30000.0f / 32768, 1.0f / 32768}), true, true);
    std::vector<std::int16_t> out(8);
    exact.mix(out.data(), 4);
    EXPECT_EQ(out, (std::vector<std::int16_t>{30000, 30000, -30000, -30000, 1, 1, 30000, 30000}));
}

TEST(AudioMixer, PlaysOnceOrLoopsAndRestartsOnlyWhenNotPlaying) {
    Mixer mixer(kRate);
    Voice* v = mixer.add(soundOf(kRate, {0.1f, 0.2f, 0.3f}), true, true);
    EXPECT_EQ(left(mixer, 7), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f, 0.1f}));
    v->play(false); // already playing: no jump back, the loop just ends after this pass
    EXPECT_EQ(left(mixer, 4), (std::vector<float>{0.2f, 0.3f, 0, 0}));
    v->play(false); // after the end: from the start again
    EXPECT_EQ(left(mixer, 2), (std::vector<float>{0.1f, 0.2f}));
}

TEST(AudioMixer, ResamplesByLinearInterpolationAndFollowsTheRateAndVolume) {
    Mixer mixer(kRate);
    Voice* v = mixer.add(soundOf(48000, {0.0f, 0.5f, 1.0f, 0.5f}), true, true);
    EXPECT_EQ(left(mixer, 9), (std::vector<float>{0, 0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.25f, 0}));
    v->setSourceRate(192000); // twice the device rate: every other position, from 0.5 on
    v->setVolume(0.5f);
    EXPECT_EQ(left(mixer, 4), (std::vector<float>{0.125f, 0.375f, 0.125f, 0.375f}));
    v->setVolume(7.0f); // clamped to 1
    EXPECT_EQ(left(mixer, 2), (std::vector<float>{0.25f, 0.75f}));

    // A 1000 Hz tone made at 44 100 samples keeps its pitch and amplitude at 96 000.
    Mixer tone(kRate);
    tone.add(sine(1000, 44100, 44100), true, true);
    const std::vector<float> out = left(tone, kRate * 2);
    EXPECT_NEAR(crossingsPerSecond(out, kRate), 1000.0, 0.05);
    EXPECT_LE(peak(out), 0.9f);
    EXPECT_GE(peak(out), 0.9f * 0.999f);
}

TEST(AudioMixer, StopFadesOutOverAFewMillisecondsInsteadOfCutting) {
    Mixer mixer(kRate);
    Voice* v = mixer.add(constant(0.8f, 1000), true, true);
    left(mixer, 10);
    v->stop();
    const std::vector<float> out = left(mixer, kFade + 50);
    EXPECT_FLOAT_EQ(out[0], 0.8f); // no step down at the stop
    for (int i = 1; i < kFade; ++i) ASSERT_LT(out[size_t(i)], out[size_t(i - 1)]) << i;
    EXPECT_LT(out[size_t(kFade - 1)], 0.8f / kFade * 1.01f);
    for (size_t i = kFade; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f) << i;
    // The largest step anywhere in the fade is one fade increment.
    for (int i = 1; i < kFade; ++i) ASSERT_LE(out[size_t(i - 1)] - out[size_t(i)], 0.8f / kFade * 1.01f);
}

TEST(AudioMixer, ReplacingFadesTheOldVoiceUnderTheNewAndFreesItAfter) {
    Mixer mixer(kRate);
    Voice* old = mixer.add(constant(0.25f, 1000), true, true);
    left(mixer, 10);
    mixer.release(old);
    mixer.add(constant(0.5f, 1000), true, true);
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 2); // still fading: not freed under the audio thread
    const std::vector<float> out = left(mixer, kFade + 1);
    EXPECT_FLOAT_EQ(out[0], 0.75f);
    EXPECT_FLOAT_EQ(out[size_t(kFade)], 0.5f);
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 1);

    // A voice that plays once frees itself after its end.
    mixer.playDetached(constant(0.1f, 20));
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 2);
    left(mixer, 30);
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 1);

    // A voice released before the audio thread ever saw it is freed too.
    mixer.release(mixer.add(constant(0.1f, 20), true, true));
    left(mixer, 1);
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 1);
}

TEST(AudioMixer, LoudSumsClipInsteadOfWrapping) {
    Mixer mixer(kRate);
    mixer.add(constant(0.8f, 100), true, true);
    mixer.add(constant(0.8f, 100), true, true);
    mixer.add(constant(-0.1f, 100), true, true);
    std::vector<std::int16_t> out(4);
    mixer.mix(out.data(), 2);
    EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, 32767, 32767}));
}

TEST(AudioMixer, SurvivesVoicesComingAndGoingWhileTheAudioThreadMixes) {
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
    const auto sound = sine(440, 44100, 4410);
    std::vector<Voice*> live;
    for (int i = 0; i < 2000; ++i) {
        live.push_back(mixer.add(sound, true, i % 2 == 0));
        live.back()->setVolume(0.1f);
        if (i % 3 == 0) mixer.playDetached(sound);
        if (live.size() > 8) {
            mixer.release(live.front());
            live.erase(live.begin());
        }
        mixer.collect();
    }
    for (Voice* v : live) mixer.release(v);
    const long released = buffers;
    while (buffers < released + 40) std::this_thread::yield(); // every fade and one-shot has ended by then
    running = false;
    audio.join();
    mixer.collect();
    EXPECT_EQ(mixer.voiceCount(), 0);
}

TEST(BeepSound, IsASineFromPhaseZeroThatEndsSilently) {
    const auto beep = beepSound(1500, 200, kRate);
    ASSERT_EQ(beep->rate, kRate);
    ASSERT_EQ(beep->frameCount(), kRate / 5);
    std::vector<float> l(static_cast<size_t>(beep->frameCount()));
    for (int i = 0; i < beep->frameCount(); ++i) l[size_t(i)] = beep->samples[size_t(i) * 2];
    EXPECT_EQ(l[0], 0.0f);
    EXPECT_NEAR(peak(l), 30000.0f / 32768, 1e-4);
    EXPECT_NEAR(crossingsPerSecond(l, kRate), 1500.0, 0.5);
    EXPECT_LT(std::abs(l.back()), 0.9f / kFade * 2);
    EXPECT_EQ(beep->samples[1], beep->samples[0]);

    EXPECT_EQ(peak(std::vector<float>(beepSound(60000, 10, kRate)->samples)), 0.0f); // beyond the output
    EXPECT_EQ(beepSound(1000, 0, kRate)->frameCount(), 1);
}
