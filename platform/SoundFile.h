#pragma once
// Sounds saved as files through libsndfile: WAV (16 or 24 bits, or 32-bit
// float) and FLAC (16 or 24 bits), mono or stereo, at the sound's rate.

#include "PcmSound.h"

#include <QString>

namespace tonara {

enum class SoundFileFormat { Wav16, Wav24, WavFloat, Flac16, Flac24 };

// Writes the sound whole; mono keeps the left channel. The file is made in
// full first and then replaces any file at path in one step, so a failure
// (Path/File access error, 75, with the reason) leaves no partial file and
// the file that was there as it was.
void writeSoundFile(const QString& path, const PcmSound& sound, SoundFileFormat format, bool mono = false);

} // namespace tonara
