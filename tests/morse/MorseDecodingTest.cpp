// What an outside decoder makes of keying that is not standard: the files
// saved in Standard timing are read back in Form4StandardTest.
#include "CwDecoder.h"
#include "KeyingSound.h"

#include <gtest/gtest.h>
#include <cmath>

namespace tonara::test {

namespace {

std::vector<std::int16_t> leftChannel(const PcmSound& sound) {
    std::vector<std::int16_t> out(size_t(sound.frameCount()));
    for (size_t n = 0; n < out.size(); ++n) out[n] = std::int16_t(std::lround(sound.samples[2 * n] * 32768.0));
    return out;
}

} // namespace

TEST(MorseDecoding, TheDecoderIsNoPushoverClassicKeyingIsNotReadAsItsText) {
    // Classic keying has no gap inside a letter: the decoder set to its dot
    // length hears other letters, which is what standard keying is for.
    const auto sound = renderKeying(classicPlan("SOS SOS", morseTiming(0)), 700, 48000, kClassicRiseMs);
    const CwDecoding heard = decodeCw(leftChannel(*sound), 48000, 100);
    ASSERT_TRUE(heard.error.isEmpty()) << heard.error.toStdString();
    EXPECT_NE(cwNormalised(heard.text), "SOS SOS");
}

} // namespace tonara::test
