#pragma once
// The generator's signal as a file: made by the same engine voice that
// plays it, so the file holds exactly the samples that would be played
// (fades and sweep included).

#include "Signal.h"
#include "SoundFile.h"

#include <QString>
#include <functional>

namespace tonara {

constexpr int kExportRates[] = {44100, 48000, 96000};

// Hands over the stereo frames of `seconds` of the signal at rate, piece by
// piece, as the output would play them from the signal's start; dithered
// for 16 bits as the output is, or not, for files of more bits.
void renderSignal(const SignalParameters& signal, int rate, double seconds, bool dithered,
                  const std::function<void(const float*, long)>& piece);
// Writes them as a file (SoundFileWriter's errors).
void saveSignal(const QString& path, const SignalParameters& signal, int rate, double seconds, SoundFileFormat format);

} // namespace tonara
