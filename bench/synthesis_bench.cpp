// How long one tone takes from pitch to file: the one-second tone, its WAV
// image and the file write, beside sox making the same file.
//   synthesis_bench [tones]
#include "Synthesis.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace tonara;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Stages {
    double tone = 0, image = 0, write = 0;
    double total() const { return tone + image + write; }
};

Stages timeTones(int count, const QString& path) {
    Stages spent;
    for (int i = 0; i < count; ++i) {
        const qint32 pitch = 1000 + 97 * (i % 200); // spread over the audible range
        auto start = Clock::now();
        const SampleGrid tone = oneSecondTone(pitch);
        spent.tone += msSince(start);
        start = Clock::now();
        const QByteArray image = CreateWaveArray(tone, toneRateFor(pitch), 16);
        spent.image += msSince(start);
        start = Clock::now();
        WriteWave(path, image);
        spent.write += msSince(start);
    }
    return spent;
}

// Milliseconds per run of sox, process start included; negative when sox is missing.
double timeSox(int runs, const QString& path) {
    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty()) return -1;
    const QStringList args{"-n", "-r", "44100", "-c", "2", "-b", "16", path, "synth", "1", "sine", "1000"};
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.start(sox, args);
        if (!p.waitForFinished(30000) || p.exitCode() != 0) return -1;
    }
    return msSince(start) / runs;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int tones = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    QTemporaryDir dir;
    const QString ours = dir.filePath("tone.wav");

    timeTones(10, ours); // warm the caches and the file system
    const Stages spent = timeTones(tones, ours);
    const double perTone = spent.total() / tones;
    std::printf("tones: %d\n", tones);
    std::printf("per tone: %.3f ms (tone %.3f, image %.3f, write %.3f)\n", perTone, spent.tone / tones,
                spent.image / tones, spent.write / tones);

    const int soxRuns = std::max(5, tones / 10);
    const double sox = timeSox(soxRuns, dir.filePath("sox.wav"));
    if (sox < 0) {
        std::printf("sox: not available\n");
    } else {
        std::printf("sox (%d runs, process start included): %.3f ms per tone\n", soxRuns, sox);
        std::printf("ratio sox / ours: %.1f\n", sox / perTone);
    }
    return 0;
}
