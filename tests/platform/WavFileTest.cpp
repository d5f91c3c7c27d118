// Reading PCM WAV files for the player and the tone streams.
#include "TempFolders.h"
#include "WavFile.h"

#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

QByteArray le(quint32 v, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray chunk(const char* tag, const QByteArray& body, qint64 declared = -1) {
    QByteArray out = QByteArray(tag, 4) + le(quint32(declared < 0 ? body.size() : declared), 4) + body;
    if (body.size() % 2) out.append('\0');
    return out;
}

QByteArray fmt(int channels, int rate, int bits, int formatTag = 1) {
    const int align = channels * bits / 8;
    return chunk("fmt ", le(formatTag, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) +
                             le(bits, 2));
}

QByteArray riff(const QByteArray& chunks) { return "RIFF" + le(quint32(chunks.size() + 4), 4) + "WAVE" + chunks; }

QByteArray pcm16(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out += le(quint16(qint16(v)), 2);
    return out;
}

} // namespace

TEST(WavParsing, DecodesEightAndSixteenBitMonoAndStereo) {
    const auto mono8 = parseWav(riff(fmt(1, 22050, 8) + chunk("data", QByteArray::fromHex("0080ff"))));
    ASSERT_TRUE(mono8);
    EXPECT_EQ(mono8->rate, 22050);
    ASSERT_EQ(mono8->frameCount(), 3);
    const std::vector<float> expected8{-1.0f, -1.0f, 0.0f, 0.0f, 127.0f / 128, 127.0f / 128};
    EXPECT_EQ(mono8->samples, expected8);

    const auto stereo16 = parseWav(riff(fmt(2, 96000, 16) + chunk("data", pcm16({-32768, 32767, 16384, -1}))));
    ASSERT_TRUE(stereo16);
    EXPECT_EQ(stereo16->rate, 96000);
    const std::vector<float> expected16{-1.0f, 32767.0f / 32768, 0.5f, -1.0f / 32768};
    EXPECT_EQ(stereo16->samples, expected16);

    const auto stereo8 = parseWav(riff(fmt(2, 8000, 8) + chunk("data", QByteArray::fromHex("40c0"))));
    ASSERT_TRUE(stereo8);
    EXPECT_EQ(stereo8->samples, (std::vector<float>{-0.5f, 0.5f}));
}

TEST(WavParsing, SkipsOtherChunksAndPlaysWhatACutShortFileHolds) {
    const QByteArray list = chunk("LIST", "abc"); // odd size: one pad byte follows
    const auto withList = parseWav(riff(list + fmt(1, 8000, 16) + list + chunk("data", pcm16({100, 200}))));
    ASSERT_TRUE(withList);
    EXPECT_EQ(withList->frameCount(), 2);
    EXPECT_FLOAT_EQ(withList->samples[2], 200.0f / 32768);

    // Declares 1000 frames, holds two and a half.
    const QByteArray cut = riff(fmt(2, 8000, 16) + chunk("data", pcm16({1, 2, 3, 4, 5}), 4000));
    const auto partial = parseWav(cut);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->frameCount(), 2);
}

TEST(WavParsing, RefusesWhatIsNotEightOrSixteenBitPcm) {
    const QByteArray data = chunk("data", pcm16({1, 2, 3, 4}));
    EXPECT_FALSE(parseWav(QByteArray()));
    EXPECT_FALSE(parseWav("RIFX" + riff(fmt(1, 8000, 16) + data).mid(4)));
    EXPECT_FALSE(parseWav(riff(fmt(1, 8000, 16, 3) + data))); // float
    EXPECT_FALSE(parseWav(riff(fmt(1, 8000, 24) + data)));
    EXPECT_FALSE(parseWav(riff(fmt(3, 8000, 16) + data)));
    EXPECT_FALSE(parseWav(riff(fmt(1, 0, 16) + data)));
    EXPECT_FALSE(parseWav(riff(data + fmt(1, 8000, 16)))); // samples of no known format
    EXPECT_FALSE(parseWav(riff(fmt(1, 8000, 16))));
    EXPECT_FALSE(parseWav(riff(fmt(2, 8000, 16) + chunk("data", pcm16({1})))));   // half a frame
    EXPECT_FALSE(parseWav(riff(fmt(1, 8000, 16)).left(30)));                       // header cut short
}

TEST(WavLoading, TellsMissingFromUnusable) {
    tonara::test::TestEnvironment env;
    EXPECT_EQ(loadWav(env.temp("none.wav")).failure, WavLoadFailure::Missing);
    EXPECT_EQ(loadWav(env.temp()).failure, WavLoadFailure::Missing); // a folder is no file
    tonara::test::writeBytes(env.temp("text.wav"), "hello");
    const WavLoad text = loadWav(env.temp("text.wav"));
    EXPECT_EQ(text.failure, WavLoadFailure::NotPcm);
    EXPECT_FALSE(text.sound);

    tonara::test::writeBytes(env.temp("good.wav"), riff(fmt(1, 44100, 16) + chunk("data", pcm16({7, 8, 9}))));
    const WavLoad good = loadWav(env.temp("good.wav"));
    EXPECT_EQ(good.failure, WavLoadFailure::None);
    ASSERT_TRUE(good.sound);
    EXPECT_EQ(good.sound->frameCount(), 3);
}

} // namespace tonara::test
