// Stands in for the external tone programs: reads the tone request file once
// at start, then sounds its pitch, or sweeps for the request "1", until it is
// killed or the program that asked for the tone is gone. Without a request it
// ends at once.
#include "ExternalTone.h"
#include "Folders.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "Synthesis.h"
#include "ToneOwner.h"

#include <QFile>
#include <cstdio>
#include <unistd.h>

using namespace tonara;

namespace {

constexpr qint32 kSweepStep = 200;
constexpr qint32 kSweepTop = 32000;
constexpr qint64 kSweepStepMs = 200;
// How often the owner is looked for: a few times a second.
constexpr int kOwnerCheckMs = 200;

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

void soundWhileOwned(qint32 pitch, const ToneOwnerWatch& owner) {
    const std::unique_ptr<ToneStream> tone = openTone(pitch);
    tone->play(true);
    while (!owner.ownerGone()) platform().delay(kOwnerCheckMs);
}

// 200, 400, ..., 32 000, then 200 again.
qint32 sweepPitch(qint64 step) { return kSweepStep * qint32(1 + step % (kSweepTop / kSweepStep)); }

void sweepWhileOwned(const ToneOwnerWatch& owner) {
    const qint64 start = platform().monotonicMs();
    std::unique_ptr<ToneStream> current;
    for (qint64 step = 0; !owner.ownerGone(); ++step) {
        // The next step is made before the current one stops, so the gap is one buffer at most.
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
    const ToneOwnerWatch owner;
    try {
        const ToneRequest request = readToneRequest();
        switch (request.kind) {
        case ToneRequest::Kind::None: return 0;
        case ToneRequest::Kind::Pitch: soundWhileOwned(request.pitch, owner); break;
        case ToneRequest::Kind::Sweep: sweepWhileOwned(owner); break;
        }
    } catch (const RuntimeError& failure) {
        std::fprintf(stderr, "%s: no tone: %s\n", argv[0], failure.what());
        return 1;
    }
    // The owner is gone: silent at once, without waiting for the sound output to close in order.
    platform().endProgram(0);
}
