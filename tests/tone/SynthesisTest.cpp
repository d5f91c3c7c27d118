// The one-second tone, its WAV image and the file writer.
#include "FakePlatform.h"
#include "Synthesis.h"
#include "TempFolders.h"
#include "WavFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {
using tonara::test::fileBytes;
using tonara::test::TestEnvironment;
using tonara::test::writeBytes;

namespace {

quint32 le32(const QByteArray& b, int at) {
    return quint8(b[at]) | quint8(b[at + 1]) << 8 | quint8(b[at + 2]) << 16 | quint32(quint8(b[at + 3])) << 24;
}
quint16 le16(const QByteArray& b, int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

// Upward zero crossings of channel 0: samples where the wave goes from below zero to zero or above.
int upwardCrossings(const SampleGrid& tone) {
    int crossings = 0;
    for (int s = 1; s < tone.samples; ++s)
        if (tone.at(0, s - 1) < 0 && tone.at(0, s) >= 0) ++crossings;
    return crossings;
}

SampleGrid gridOf(int channels, std::initializer_list<qint32> values) {
    SampleGrid grid(channels, int(values.size()) / channels);
    int i = 0;
    for (qint32 v : values) {
        grid.at(i % channels, i / channels) = v;
        ++i;
    }
    return grid;
}

} // namespace

TEST(OneSecondTone, IsTwoEqualChannelsOfASineAtAmplitude30000) {
    const SampleGrid tone = oneSecondTone(1000);
    ASSERT_EQ(tone.channels, 2);
    ASSERT_EQ(tone.samples, 44100);
    EXPECT_EQ(tone.at(0, 0), 0);
    EXPECT_EQ(tone.at(1, 0), 0);
    EXPECT_EQ(tone.at(0, 11), 30000); // just below a quarter turn
    EXPECT_EQ(tone.at(1, 11), 30000);
    for (int s = 0; s < tone.samples; ++s) ASSERT_EQ(tone.at(0, s), tone.at(1, s)) << "sample " << s;
    EXPECT_EQ(*std::max_element(tone.values.begin(), tone.values.end()), 30000);
    EXPECT_EQ(*std::min_element(tone.values.begin(), tone.values.end()), -30000);
    EXPECT_EQ(upwardCrossings(tone), 999); // the first crossing is sample 0 itself
}

TEST(OneSecondTone, UsesTheSinglePrecisionPhaseStep) {
    // With the double-precision step this sample would be -21023.
    EXPECT_EQ(oneSecondTone(16600).at(0, 44099), -20941);
    EXPECT_EQ(oneSecondTone(10000).at(1, 44099), -29691);
}

// Near the low rate's Nyquist limit no converter passes a tone whole.
TEST(OneSecondTone, PitchesAbove21kHzAreMadeAtTheHighRateAndLoopWithoutASeam) {
    EXPECT_EQ(toneRateFor(4), kToneRate);
    EXPECT_EQ(toneRateFor(21000), kToneRate);
    EXPECT_EQ(toneRateFor(21001), kHighToneRate);
    EXPECT_EQ(oneSecondTone(21000).samples, 44100);
    const SampleGrid looped = oneSecondTone(31999);
    // The sample after the last is sample 0 again: no step at the loop point.
    EXPECT_EQ(looped.at(0, 0), 0);
    EXPECT_NEAR(looped.at(0, 95999), std::nearbyint(-30000 * std::sin(2 * std::numbers::pi * 31999 / 96000)), 1);

    const SampleGrid tone = oneSecondTone(32000);
    ASSERT_EQ(tone.samples, 96000);
    // At 44 100 samples this tone would sound as 12 100 Hz.
    EXPECT_EQ(upwardCrossings(tone), 31999); // sample 0 starts the first period
    // Three samples to the period all the way through: the pitch × sample
    // product would wrap past 2^31 in 32 bits after 67 108 samples.
    int worst = 0;
    for (int s = 0; s + 3 < tone.samples; ++s) worst = std::max(worst, std::abs(tone.at(0, s + 3) - tone.at(0, s)));
    EXPECT_LE(worst, 1);
    EXPECT_LE(*std::max_element(tone.values.begin(), tone.values.end()), 30000);
    EXPECT_GE(*std::max_element(tone.values.begin(), tone.values.end()), 25980); // 30000 × sin 120°

    const QByteArray image = CreateWaveArray(tone, toneRateFor(32000), 16);
    EXPECT_EQ(le32(image, 24), 96000u);
    EXPECT_EQ(image.size(), 96000 * 4 + 44);
}

TEST(CreateWaveArray, BuildsTheHeaderAndLittleEndianSamplesOfTheTone) {
    const SampleGrid tone = oneSecondTone(1000);
    const QByteArray image = CreateWaveArray(tone, 44100, 16);
    ASSERT_EQ(image.size(), 176444);
    EXPECT_EQ(image.left(4), "RIFF");
    EXPECT_EQ(quint8(image[4]), 0x34);
    EXPECT_EQ(quint8(image[5]), 0xB1);
    EXPECT_EQ(quint8(image[6]), 0x02);
    EXPECT_EQ(quint8(image[7]), 0x00);
    EXPECT_EQ(image.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(image, 16), 16u);
    EXPECT_EQ(le16(image, 20), 1);
    EXPECT_EQ(le16(image, 22), 2);
    EXPECT_EQ(le32(image, 24), 44100u);
    EXPECT_EQ(le32(image, 28), 176400u);
    EXPECT_EQ(le16(image, 32), 4);
    EXPECT_EQ(le16(image, 34), 16);
    EXPECT_EQ(image.mid(36, 4), "data");
    EXPECT_EQ(le32(image, 40), 176400u);
    for (int s : {0, 11, 20, 33, 44099})
        for (int c : {0, 1})
            EXPECT_EQ(qint16(le16(image, 44 + 4 * s + 2 * c)), tone.at(c, s)) << s << "/" << c;

    // The player reads back exactly what was written.
    const auto parsed = parseWav(image);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->rate, 44100);
    ASSERT_EQ(parsed->frameCount(), 44100);
    EXPECT_FLOAT_EQ(parsed->samples[22], 30000.0f / 32768.0f);
}

TEST(CreateWaveArray, SmallGridsAt8And16Bits) {
    const SampleGrid eight = gridOf(1, {128, 255, 0});
    const QByteArray a = CreateWaveArray(eight, 8000, 8);
    ASSERT_EQ(a.size(), 47);
    EXPECT_EQ(le32(a, 4), 39u);
    EXPECT_EQ(le16(a, 22), 1);
    EXPECT_EQ(le32(a, 28), 8000u);
    EXPECT_EQ(le16(a, 32), 1);
    EXPECT_EQ(le16(a, 34), 8);
    EXPECT_EQ(le32(a, 40), 3u);
    EXPECT_EQ(a.mid(44), QByteArray::fromHex("80ff00"));

    const QByteArray b = CreateWaveArray(gridOf(1, {-1, 0, 1}), 8000, 16);
    ASSERT_EQ(b.size(), 50);
    EXPECT_EQ(le32(b, 28), 16000u);
    EXPECT_EQ(le16(b, 32), 2);
    EXPECT_EQ(le32(b, 40), 6u);
    EXPECT_EQ(b.mid(44), QByteArray::fromHex("ffff00000100"));

    // Only the low bits count, and channel 0 comes first within a sample.
    const QByteArray c = CreateWaveArray(gridOf(2, {0x1FF, -2, 0x180, 0x7F}), 8000, 8);
    EXPECT_EQ(c.mid(44), QByteArray::fromHex("fffe807f"));
    const QByteArray d = CreateWaveArray(gridOf(2, {0x12345, -32768, 32767, 0x10000}), 22050, 16);
    EXPECT_EQ(d.mid(44), QByteArray::fromHex("45230080ff7f0000"));
    EXPECT_EQ(le32(d, 28), 88200u);
    EXPECT_EQ(le16(d, 32), 4);
}

TEST(CreateWaveArray, OtherSampleWidthsEndTheProgram) {
    TestEnvironment env;
    const SampleGrid grid = gridOf(1, {0, 1});
    EXPECT_THROW(CreateWaveArray(grid, 8000, 24), ProgramEnded);
    EXPECT_THROW(CreateWaveArray(grid, 8000, 0), ProgramEnded);
    EXPECT_EQ(env.fake.count("end"), 2);
}

TEST(WriteWave, ReplacesTheFileWholeAndSwallowsFailures) {
    TestEnvironment env;
    const QString path = env.temp("tone.wav");
    writeBytes(path, QByteArray(5000, 'x'));
    WriteWave(path, "abc");
    EXPECT_EQ(fileBytes(path), "abc");

    WriteWave(path, QByteArray());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);

    const QString nowhere = env.temp("no such folder/tone.wav");
    EXPECT_NO_THROW(WriteWave(nowhere, "abc"));
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_TRUE(env.fake.records.empty()); // no message, nothing else happened

    // A link planted under the tone's name is replaced, never written through.
    writeBytes(env.appData("victim.txt"), "precious");
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(env.appData("victim.txt"), path));
    WriteWave(path, "abc");
    EXPECT_EQ(fileBytes(env.appData("victim.txt")), "precious");
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(fileBytes(path), "abc");
}

TEST(WriteWave, TheToneWavLivesInTheTemporaryFolderOfTheMoment) {
    TestEnvironment env;
    writeToneWav(1000);
    EXPECT_EQ(fileBytes(env.temp("tnfwinmmtmp.wav")), CreateWaveArray(oneSecondTone(1000), 44100, 16));

    QDir(env.temp()).mkpath("other");
    qputenv("TEMP", QFile::encodeName(env.temp("other")));
    EXPECT_EQ(temporaryToneWav(), env.temp("other/tnfwinmmtmp.wav"));
    writeToneWav(30000);
    const QByteArray high = fileBytes(env.temp("other/tnfwinmmtmp.wav"));
    ASSERT_EQ(high.size(), 96000 * 4 + 44);
    EXPECT_EQ(le32(high, 24), 96000u);
}

} // namespace tonara::test
