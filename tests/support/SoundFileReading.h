#pragma once
// A sound file read back whole through libsndfile, as a test checks it.

#include <QString>
#include <sndfile.h>
#include <vector>

namespace tonara::test {

struct SoundFileContents {
    SF_INFO info{};             // frames 0 when the file could not be read
    std::vector<float> samples; // interleaved, -1..1 as the library scales a sample of any width
};

SoundFileContents readSoundFile(const QString& path);

} // namespace tonara::test
