// Stands in for the external tone programs: reads the tone request file once
// at start, then sounds its pitch, or sweeps for the request "1", until it is
// killed or the program that asked for the tone is gone. Without a request it
// ends at once.
#include "AudioEnvironment.h"
#include "ExternalTone.h"
#include "Folders.h"
#include "Platform.h"
#include "ProcFs.h"
#include "RuntimeError.h"
#include "Synthesis.h"
#include "ToneOwner.h"

#include <QDir>
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

QString samplesFile(qint64 pid) { return joinPath(tempFolder(), QString("toneprogram-%1.wav").arg(pid)); }

// The stream holds the samples in memory, so the file goes at once.
std::unique_ptr<ToneStream> openTone(qint32 pitch) {
    const QString wav = samplesFile(::getpid());
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
    platform().outputRate(); // opens the output, so the first step is as long as the others
    const qint64 start = platform().monotonicMs();
    std::unique_ptr<ToneStream> current;
    for (qint64 step = 0; !owner.ownerGone(); ++step) {
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

// A tone program killed while it made a step's samples left their file behind.
void removeFilesOfEndedTonePrograms() {
    const QStringList files = QDir(tempFolder()).entryList({"toneprogram-*.wav"}, QDir::Files);
    for (const QString& name : files) {
        bool numbered = false;
        const qint64 pid = name.mid(12, name.size() - 16).toLongLong(&numbered);
        const auto stat = readProcStat(pid);
        if (numbered && (!stat || stat->ended())) QFile::remove(samplesFile(pid));
    }
}

int main(int, char** argv) {
    prepareAudioEnvironment(); // before any thread starts
    const ToneOwnerWatch owner;
    try {
        removeFilesOfEndedTonePrograms();
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
