#include "SoundFileReading.h"

#include <QFile>

namespace tonara::test {

SoundFileContents readSoundFile(const QString& path) {
    SoundFileContents got;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &got.info);
    if (!file) return got;
    got.samples.resize(size_t(got.info.frames * got.info.channels));
    sf_readf_float(file, got.samples.data(), got.info.frames);
    sf_close(file);
    return got;
}

} // namespace tonara::test
