#pragma once
// Reading PCM WAV files into the form the mixer plays: stereo float frames
// at the file's own rate.

#include "PcmSound.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tonara {

// 8-bit (unsigned) or 16-bit (signed) PCM, 1 or 2 channels, any rate.
// A data chunk cut short by a partial write plays as far as it goes.
// Nothing for anything else, or when no whole frame is there.
std::optional<PcmSound> parseWav(const QByteArray& bytes);

enum class WavLoadFailure { None, Missing, Unreadable, NotPcm };

struct WavLoad {
    std::shared_ptr<const PcmSound> sound; // null on failure
    WavLoadFailure failure = WavLoadFailure::None;
};

// Reads and parses a file in one go.
WavLoad loadWav(const QString& path);

} // namespace tonara
