// WAV parsing of any bytes: a sound that is accepted is whole stereo frames
// of samples within full scale, at a real rate.
#include "WavFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto sound = tonara::parseWav(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!sound) return 0;
    if (sound->rate <= 0 || sound->frameCount() <= 0 || sound->samples.size() % 2 != 0) std::abort();
    for (float s : sound->samples)
        if (!(s >= -1.0f && s <= 1.0f)) std::abort();
    return 0;
}
