// How soon a substitute tone program sounds once it is started: from the
// start of the process to its first sample that is not silence at the sound
// server's sink, beside paplay started the same way with a tone at the
// sink's rate. Run it with a sound server (tests/sound-server.sh) from the
// build's bin folder, where the tone programs lie.
//   tone_program_start_bench [trials]
#include "SinkRecording.h"
#include "ToneRequest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace tonara;
using namespace tonara::test;

namespace {

// Anything but digital silence: the tones fade in from zero.
constexpr int kSoundThreshold = 1;

struct Summary {
    double median = 0, least = 0, most = 0;
};

Summary summary(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Milliseconds from the start of the program to its first sound at the
// sink; negative when it made none within a second.
double startToSound(SinkRecorder& recorder, const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment) {
    recorder.keepRecording(300);
    recorder.drain();
    const qint64 started = recorder.position();
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(program, arguments);
    const bool heard = recorder.waitForSound(kSoundThreshold, 1000);
    recorder.keepRecording(50);
    child.kill();
    child.waitForFinished(2000);
    recorder.keepRecording(300);
    const std::vector<std::int16_t> got = recorder.samples(started);
    recorder.drain();
    const ToneSpan tone = findTone(got, kSoundThreshold);
    return heard && tone.found() ? msOf(tone.onset) : -1;
}

void row(const char* what, const std::vector<double>& values, int trials) {
    const Summary s = summary(values);
    std::printf("%-28s median %6.1f ms   range %6.1f to %6.1f ms   (%zu of %d trials heard)\n", what, s.median,
                s.least, s.most, values.size(), trials);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir dir;
    qputenv("TEMP", dir.path().toLocal8Bit());
    writeToneRequest(pitchRequestLine(1000));
    const QString wav = writePeerTone(dir.filePath("paplay.wav"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TEMP", dir.path());
    // The tone programs sound while their owner lives.
    environment.insert("TONARA_OWNER_PID", QString::number(QCoreApplication::applicationPid()));
    SinkRecorder recorder;
    QString why;
    if (!recorder.start(why)) {
        std::fprintf(stderr, "no recording: %s\n", qPrintable(why));
        return 1;
    }
    const QString folder = QCoreApplication::applicationDirPath();
    std::vector<double> sound32, sound16, paplay;
    // Interleaved, so that a busy moment of the machine falls on all alike.
    for (int trial = 0; trial < trials; ++trial) {
        for (auto [program, into] : {std::pair{QString("sound32.dll"), &sound32}, std::pair{QString("SOUND16.DLL"), &sound16}})
            if (const double ms = startToSound(recorder, folder + "/" + program, {}, environment); ms >= 0)
                into->push_back(ms);
        if (const double ms = startToSound(recorder, "paplay", {wav}, environment); ms >= 0) paplay.push_back(ms);
    }
    std::printf("start to first sound at a %d Hz sink, %d trials each:\n", kSinkRate, trials);
    row("sound32.dll", sound32, trials);
    row("SOUND16.DLL", sound16, trials);
    row("paplay", paplay, trials);
    return 0;
}
