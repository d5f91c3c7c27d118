// Stands in for the external tone programs: reads the tone request file once
// at start, then sounds its pitch, or sweeps for the request "1", until it is
// killed. Without a request it ends at once.
#include "AudioEnvironment.h"
#include "ExternalTone.h"
#include "Folders.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "Synthesis.h"

#include <QFile>
#include <cstdio>
#include <unistd.h>

using namespace tonara;

namespace {

constexpr qint32 kSweepStep = 200;
constexpr qint32 kSweepTop = 32000;
constexpr qint64 kSweepStepMs = 200;
constexpr int kIdleMs = 60000;

// The stream holds the samples in memory, so the file goes at once: a
// killed program could not remove it later.
std::unique_ptr<ToneStream> openTone(qint32 pitch) {
    const QString wav = joinPath(tempFolder(), QString("toneprogram-%1.wav").arg(::getpid()));
    WriteWave(wav, CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16));
    try {
        std::unique_ptr<ToneStream> stream = platform().openToneStream(wav);
        QFile::remove(wav);
        return stream;
    } catch (...) {
        QFile::remove(wav);
        throw;
    }
}

[[noreturn]] void soundUntilKilled(qint32 pitch) {
    const std::unique_ptr<ToneStream> tone = openTone(pitch);
    tone->play(true);
    for (;;) platform().delay(kIdleMs);
}

// 200, 400, ..., 32 000, then 200 again.
qint32 sweepPitch(qint64 step) { return kSweepStep * qint32(1 + step % (kSweepTop / kSweepStep)); }

[[noreturn]] void sweepUntilKilled() {
    platform().outputRate(); // opens the output, so the first step is as long as the others
    const qint64 start = platform().monotonicMs();
    std::unique_ptr<ToneStream> current;
    for (qint64 step = 0;; ++step) {
        // The next step is made before the current one stops; it starts once that one has faded.
        std::unique_ptr<ToneStream> next = openTone(sweepPitch(step));
        if (current) current->stop();
        next->play(true);
        current = std::move(next);
        // Steps keep to the clock, not to the time each one took to make.
        const qint64 wait = start + (step + 1) * kSweepStepMs - platform().monotonicMs();
        if (wait > 0) platform().delay(int(wait));
    }
}

} // namespace

int main(int, char** argv) {
    prepareAudioEnvironment(); // before any thread starts
    try {
        const ToneRequest request = readToneRequest();
        switch (request.kind) {
        case ToneRequest::Kind::None: return 0;
        case ToneRequest::Kind::Pitch: soundUntilKilled(request.pitch);
        case ToneRequest::Kind::Sweep: sweepUntilKilled();
        }
    } catch (const RuntimeError& failure) {
        std::fprintf(stderr, "%s: no tone: %s\n", argv[0], failure.what());
        return 1;
    }
    return 0;
}
