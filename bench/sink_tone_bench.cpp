// A continuous tone through the real audio output, recorded at the sound
// server's sink: its level, the longest dip (an underrun leaves one) and
// the stream's latency as the server reports it. Run it with a sound
// server (tests/sound-server.sh), and beside `stress -c 2` to see what a
// busy machine does.
//   sink_tone_bench [seconds] [pitch]
#include "AudioOutput.h"
#include "SinkRecording.h"
#include "Synthesis.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

using namespace tonara;
using namespace tonara::test;

namespace {

constexpr int kLevel = 30000;

// Runs of samples under half the level. A whole tone has them only around
// its zero crossings (a sixth of a period); a dip is longer.
struct DipWatch {
    qint64 run = 0;
    qint64 longest = 0;
    qint64 dips = 0; // runs longer than 1 ms
    int peak = 0;

    void add(const std::vector<std::int16_t>& samples) {
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(int(s)));
            if (std::abs(int(s)) < kLevel / 2) {
                ++run;
                continue;
            }
            if (run > framesOf(1)) ++dips;
            longest = std::max(longest, run);
            run = 0;
        }
    }
};

// "Buffer Latency" and "Sink Latency" of our stream, in ms.
QString serverLatency() {
    QProcess pactl;
    pactl.start("pactl", {"list", "sink-inputs"});
    pactl.waitForFinished(5000);
    // The test server's sine plays into a sink input of its own.
    QString listing;
    for (const QString& input : QString::fromUtf8(pactl.readAllStandardOutput()).split("Sink Input #"))
        if (input.contains("media.name = \"Tones\"")) listing = input;
    QStringList parts;
    for (const char* kind : {"Buffer Latency", "Sink Latency"}) {
        const auto match = QRegularExpression(QString(kind) + ": (\\d+) usec").match(listing);
        if (match.hasMatch()) parts << QString("%1 %2 ms").arg(kind).arg(match.captured(1).toDouble() / 1000, 0, 'f', 1);
    }
    return parts.isEmpty() ? "not reported" : parts.join(", ");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    const int pitch = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;

    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    WriteWave(wav, CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16));
    AudioOutput& output = AudioOutput::instance();
    const AudioDeviceInfo device = output.deviceInfo();
    if (!device.open) return 1;
    std::printf("output: %d Hz, %d frames per buffer; PULSE_LATENCY_MSEC=%s\n", device.rate, device.bufferFrames,
                qgetenv("PULSE_LATENCY_MSEC").constData());

    SinkRecorder recorder;
    QString why;
    if (!recorder.start(why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    output.playWav(wav, true);
    recorder.keepRecording(1000);
    recorder.drain(); // the start
    std::printf("server latency while playing: %s\n", qPrintable(serverLatency()));

    DipWatch watch;
    for (int s = 1; s < seconds; ++s) {
        recorder.keepRecording(1000);
        watch.add(recorder.drain());
    }
    output.silenceWav();
    std::printf("recorded %d s of %d Hz: peak %d, longest run under half level %.2f ms, dips over 1 ms: %lld\n",
                seconds - 1, pitch, watch.peak, msOf(watch.longest), static_cast<long long>(watch.dips));
    return 0;
}
