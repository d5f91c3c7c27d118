// Stands in for the external tone programs: reads the tone request file once
// at start, then sounds its pitch, or sweeps for the request "1", until it is
// killed or the program that asked for the tone is gone. Without a request it
// ends at once. It is made of the sound output and little else, so it
// sounds a few milliseconds after it is started.
#include "AudioOutput.h"
#include "Folders.h"
#include "ProcFs.h"
#include "RuntimeError.h"
#include "ToneOwner.h"
#include "ToneRequest.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

using namespace tonara;

namespace {

constexpr qint32 kSweepStep = 200;
constexpr qint32 kSweepTop = 32000;
constexpr auto kSweepStepTime = std::chrono::milliseconds(200);
// How often the owner is looked for: a few times a second.
constexpr auto kOwnerCheck = std::chrono::milliseconds(200);

// A second of the pitch made at the output's own rate: nothing to convert,
// and a pitch the output cannot carry is silence, not an alias.
std::unique_ptr<ToneStream> openTone(qint32 pitch) {
    AudioOutput& output = AudioOutput::instance();
    return output.openToneStream(beepSound(pitch, output.outputRate()));
}

void soundWhileOwned(qint32 pitch, const ToneOwnerWatch& owner) {
    const std::unique_ptr<ToneStream> tone = openTone(pitch);
    tone->play(true);
    while (!owner.ownerGone()) std::this_thread::sleep_for(kOwnerCheck);
}

// 200, 400, ..., 32 000, then 200 again.
qint32 sweepPitch(qint64 step) { return kSweepStep * qint32(1 + step % (kSweepTop / kSweepStep)); }

void sweepWhileOwned(const ToneOwnerWatch& owner) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<ToneStream> current;
    for (qint64 step = 0; !owner.ownerGone(); ++step) {
        // The next step is made before the current one stops; it starts once that one has faded.
        std::unique_ptr<ToneStream> next = openTone(sweepPitch(step));
        if (current) current->stop();
        next->play(true);
        current = std::move(next);
        // Steps keep to the clock, not to the time each one took to make.
        std::this_thread::sleep_until(start + (step + 1) * kSweepStepTime);
    }
}

// Earlier tone programs wrote their samples to a file of their own; one
// killed meanwhile left it behind.
void removeFilesOfEndedTonePrograms() {
    QString folder;
    try {
        folder = tempFolder();
    } catch (const RuntimeError&) {
        return;
    }
    for (const QString& name : QDir(folder).entryList({"toneprogram-*.wav"}, QDir::Files)) {
        bool numbered = false;
        const qint64 pid = name.mid(12, name.size() - 16).toLongLong(&numbered);
        const auto stat = readProcStat(pid);
        if (numbered && (!stat || stat->ended())) QFile::remove(joinPath(folder, name));
    }
}

} // namespace

int main(int, char** argv) {
    const ToneOwnerWatch owner;
    try {
        const ToneRequest request = readToneRequest();
        switch (request.kind) {
        case ToneRequest::Kind::None: break;
        case ToneRequest::Kind::Pitch: soundWhileOwned(request.pitch, owner); break;
        case ToneRequest::Kind::Sweep: sweepWhileOwned(owner); break;
        }
        removeFilesOfEndedTonePrograms();
    } catch (const RuntimeError& failure) {
        std::fprintf(stderr, "%s: no tone: %s\n", argv[0], failure.what());
        return 1;
    }
    // The owner is gone: silent at once, without waiting for the sound output to close in order.
    std::fflush(nullptr);
    ::_exit(0);
}
