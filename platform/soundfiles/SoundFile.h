#pragma once
// Sounds saved as files through libsndfile: WAV (16 or 24 bits, or 32-bit
// float) and FLAC (16 or 24 bits), mono or stereo.

#include "PcmSound.h"

#include <QString>

typedef struct sf_private_tag SNDFILE;

namespace tonara {

enum class SoundFileFormat { Wav16, Wav24, WavFloat, Flac16, Flac24 };

// Writes a sound piece by piece. Integer samples are rounded as the output
// rounds what it plays. The file is made under a fresh name beside path and
// replaces whatever is at path (a link included, not written through) only
// when finish() has made it whole: a failure (Path/File access error, 75,
// with the reason) leaves no partial file and the file that was there as it
// was.
class SoundFileWriter {
public:
    SoundFileWriter(const QString& path, int rate, SoundFileFormat format, bool mono = false);
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    // Interleaved stereo frames, -1..1; mono keeps the left channel.
    void write(const float* stereo, long frames);
    void finish();

private:
    [[noreturn]] void failed();

    QString path_;
    QString madePath_; // the file being made, beside path_
    SoundFileFormat format_;
    int channels_;
    SNDFILE* file_ = nullptr;
};

// Writes the sound whole (SoundFileWriter).
void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono = false);

} // namespace tonara
