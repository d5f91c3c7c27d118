// Standard keying as an outside decoder hears it: rendered at 48 kHz and
// given to multimon-ng with its dot length set as for any standard keyer.
#include "CwDecoder.h"
#include "KeyingSound.h"
#include "MorseTexts.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tonara;
using namespace tonara::test;

namespace {

std::vector<std::int16_t> leftChannel(const PcmSound& sound) {
    std::vector<std::int16_t> out(size_t(sound.frameCount()));
    for (size_t n = 0; n < out.size(); ++n) out[n] = std::int16_t(std::lround(sound.samples[2 * n] * 32768.0));
    return out;
}

} // namespace

TEST(MorseDecoding, StandardKeyingIsReadBackExactlyAtEverySpeed) {
    for (const int wpm : {15, 20, 30}) {
        for (const QString& text : {kParisText, kLongText}) {
            SCOPED_TRACE(testing::Message() << wpm << " WPM: " << text.left(20).toStdString());
            const StandardTiming timing = standardTiming({wpm, wpm});
            const auto sound = renderKeying(standardPlan(text, timing), 700, 48000, kDefaultRiseMs);
            const CwDecoding heard = decodeCw(leftChannel(*sound), 48000, timing.unitMs);
            ASSERT_TRUE(heard.error.isEmpty()) << heard.error.toStdString();
            EXPECT_EQ(cwNormalised(heard.text).toStdString(), cwNormalised(text).toStdString());
        }
    }
}

TEST(MorseDecoding, TheDecoderIsNoPushoverClassicKeyingIsNotReadAsItsText) {
    // Classic keying has no gap inside a letter: the decoder set to its dot
    // length hears other letters, which is what standard keying is for.
    const auto sound = renderKeying(classicPlan("SOS SOS", morseTiming(0)), 700, 48000, kClassicRiseMs);
    const CwDecoding heard = decodeCw(leftChannel(*sound), 48000, 100);
    ASSERT_TRUE(heard.error.isEmpty()) << heard.error.toStdString();
    EXPECT_NE(cwNormalised(heard.text), "SOS SOS");
}
