#pragma once
// Sounds saved as files through libsndfile: WAV (16 or 24 bits, or 32-bit
// float) and FLAC (16 or 24 bits), mono or stereo, at the sound's rate.

#include "PcmSound.h"

#include <QString>

namespace tonara {

enum class SoundFileFormat { Wav16, Wav24, WavFloat, Flac16, Flac24 };

// Writes the sound whole; mono keeps the left channel. Raises a
// RuntimeError with the library's reason when the file cannot be written
// (Path/File access error, 75), leaving no partial file behind.
void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono = false);

} // namespace tonara
