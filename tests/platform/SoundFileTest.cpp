// Sound files written through libsndfile and read back the same way: each
// format holds the samples the output would play.
#include "RuntimeError.h"
#include "SoundFile.h"
#include "SoundFileReading.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <cmath>
#include <vector>

namespace tonara::test {

namespace {

PcmSound testSound() {
    PcmSound sound;
    sound.rate = 48000;
    // Full scale both ways, the output's 30000, one step, nothing; the right channel differs.
    for (const float v : {32767.0f / 32768, -1.0f, 30000.0f / 32768, 1.0f / 32768, 0.0f})
        sound.samples.insert(sound.samples.end(), {v, -std::floor(v * 16384) / 32768});
    return sound;
}

} // namespace

TEST(SoundFile, EachFormatHoldsTheSamplesThatWouldBePlayed) {
    struct Case {
        SoundFileFormat format;
        int libraryFormat;
        bool mono;
    };
    const Case cases[] = {
        {SoundFileFormat::Wav16, SF_FORMAT_WAV | SF_FORMAT_PCM_16, false},
        {SoundFileFormat::Wav24, SF_FORMAT_WAV | SF_FORMAT_PCM_24, false},
        {SoundFileFormat::WavFloat, SF_FORMAT_WAV | SF_FORMAT_FLOAT, false},
        {SoundFileFormat::Flac16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, true},
        {SoundFileFormat::Flac24, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, false},
    };
    QTemporaryDir dir;
    const PcmSound sound = testSound();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.libraryFormat);
        const QString path = dir.filePath("sound");
        writeSoundFile(path, sound, c.format, c.mono);
        const SoundFileContents got = readSoundFile(path);
        ASSERT_EQ(got.info.format, c.libraryFormat);
        EXPECT_EQ(got.info.samplerate, 48000);
        ASSERT_EQ(got.info.channels, c.mono ? 1 : 2);
        ASSERT_EQ(got.info.frames, sound.frameCount());
        for (int frame = 0; frame < sound.frameCount(); ++frame)
            for (int channel = 0; channel < got.info.channels; ++channel) {
                // Every value is a whole 16-bit step, so each width holds it exactly.
                EXPECT_EQ(got.samples[size_t(frame * got.info.channels + channel)],
                          sound.samples[size_t(frame) * 2 + size_t(channel)])
                    << "frame " << frame << " channel " << channel;
            }
    }
}

TEST(SoundFile, AFileThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing folder/sound.wav");
    try {
        writeSoundFile(path, testSound(), SoundFileFormat::Wav16);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathFileAccess);
        EXPECT_FALSE(e.description().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SoundFile, AFileAlreadyThereIsReplacedWholeOrLeftAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sound.wav");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the user's own file");
    }
    writeSoundFile(path, testSound(), SoundFileFormat::Wav16);
    EXPECT_EQ(readSoundFile(path).info.frames, testSound().frameCount());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "nothing left beside it";

    // A sound the library cannot write (a rate it refuses) leaves the file alone.
    PcmSound bad = testSound();
    bad.rate = 0;
    EXPECT_THROW(writeSoundFile(path, bad, SoundFileFormat::Wav16), RuntimeError);
    EXPECT_EQ(readSoundFile(path).info.frames, testSound().frameCount());
}

} // namespace tonara::test
