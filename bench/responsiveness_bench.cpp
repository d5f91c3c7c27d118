// How soon the output answers, recorded at the sound server's sink, beside
// paplay doing the same: Play to sound (also after a quiet spell, when the
// output rests corked), Stop to silence, and the silence
// between two timed tones, as medians and as ratios to paplay's. Run it
// with a sound server (tests/sound-server.sh).
//   responsiveness_bench [trials]
#include "AudioOutput.h"
#include "SinkRecording.h"
#include "Synthesis.h"
#include "TestedPlatform.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace tonara;
using namespace tonara::test;

namespace {

constexpr int kThreshold = 15000;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The silence after the first tone heard from `from` on: the first stretch
// under the threshold longer than a sine's own dips; -1 when there is none.
double firstSilenceMs(const std::vector<std::int16_t>& samples, qint64 from) {
    const ToneSpan first = findTone(samples, kThreshold, from);
    if (!first.found()) return -1;
    qint64 quiet = 0;
    for (qint64 i = first.onset; i < qint64(samples.size()); ++i) {
        if (std::abs(int(samples[size_t(i)])) < kThreshold) {
            ++quiet;
        } else {
            if (quiet > framesOf(0.5)) return msOf(quiet);
            quiet = 0;
        }
    }
    return -1;
}

struct Figures {
    std::vector<double> start, stop, gap;

    // One trial's recording: the tone played at played and stopped at
    // stopped, and the silence between the pair that starts at pair.
    void add(const std::vector<std::int16_t>& got, qint64 played, qint64 stopped, qint64 pair) {
        const ToneSpan tone = findTone(got, kThreshold, played, pair);
        const double silence = firstSilenceMs(got, pair);
        if (!tone.found() || silence < 0) return;
        start.push_back(msOf(tone.onset - played));
        stop.push_back(msOf(tone.offset - stopped));
        gap.push_back(silence);
    }
};

Figures ours(SinkRecorder& recorder, const QString& wav, int trials) {
    Figures f;
    AudioOutput& output = AudioOutput::instance();
    TestedPlatform platform;
    for (int trial = 0; trial < trials; ++trial) {
        recorder.keepRecording(300 + 50 * (trial % 3));
        const qint64 played = recorder.position();
        output.playWav(wav, true);
        recorder.keepRecording(400);
        const qint64 stopped = recorder.position();
        output.silenceWav();
        recorder.keepRecording(200);
        // Two timed tones, the second asked for when the first is done, as a tone file does.
        const qint64 pair = recorder.position();
        for (int tone = 0; tone < 2; ++tone) {
            platform.playWavFor(wav, 150);
            platform.awaitTimedTone();
            platform.silenceWav();
        }
        recorder.keepRecording(300);
        f.add(recorder.samples(), played, stopped, pair);
    }
    return f;
}

Figures paplays(SinkRecorder& recorder, const QString& wav, int trials) {
    Figures f;
    for (int trial = 0; trial < trials; ++trial) {
        recorder.keepRecording(300 + 50 * (trial % 3));
        const qint64 played = recorder.position();
        QProcess paplay;
        paplay.start("paplay", {wav});
        recorder.keepRecording(400);
        const qint64 stopped = recorder.position();
        paplay.kill();
        paplay.waitForFinished(2000);
        recorder.keepRecording(200);
        // Two plays one after the other: the second started when the first has ended.
        const qint64 pair = recorder.position();
        for (int tone = 0; tone < 2; ++tone) {
            QProcess one;
            one.start("paplay", {wav});
            // waitForFinished answers false once the process is gone, so its state decides.
            while (one.state() != QProcess::NotRunning) {
                one.waitForFinished(1);
                recorder.keepRecording(1);
            }
        }
        recorder.keepRecording(300);
        f.add(recorder.samples(), played, stopped, pair);
    }
    return f;
}

// Play to sound after a quiet spell long enough for the output to rest
// (corked), each trial's start and end given by the two actions.
std::vector<double> afterQuiet(SinkRecorder& recorder, int trials, const std::function<void()>& start,
                               const std::function<void()>& end) {
    std::vector<double> ms;
    for (int trial = 0; trial < trials; ++trial) {
        recorder.keepRecording(1300);
        const qint64 played = recorder.position();
        start();
        recorder.keepRecording(300);
        end();
        recorder.keepRecording(100);
        const ToneSpan tone = findTone(recorder.samples(), kThreshold, played);
        if (tone.found()) ms.push_back(msOf(tone.onset - played));
    }
    return ms;
}

// A ratio only where paplay's figure is more than the recorder's own jitter.
void row(const char* what, const std::vector<double>& ours, const std::vector<double>& peer) {
    const double a = median(ours), b = median(peer);
    std::printf("%-32s tonara %7.1f ms   paplay %7.1f ms   ", what, a, b);
    if (b > 2.0) std::printf("ratio %5.2f", a / b);
    else std::printf("ratio    --");
    std::printf("   (%zu, %zu trials)\n", ours.size(), peer.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    WriteWave(wav, CreateWaveArray(oneSecondTone(1000), kToneRate, 16));
    AudioOutput::instance().deviceInfo();
    SinkRecorder recorder;
    QString why;
    if (!recorder.start(why)) {
        std::fprintf(stderr, "no recording: %s\n", qPrintable(why));
        return 1;
    }
    const Figures tonara = ours(recorder, wav, trials);
    const QString peerWav = writePeerTone(dir.filePath("paplay.wav"));
    const Figures peer = paplays(recorder, peerWav, trials);
    AudioOutput& output = AudioOutput::instance();
    const std::vector<double> oursAfterQuiet =
        afterQuiet(recorder, trials, [&] { output.playWav(wav, true); }, [&] { output.silenceWav(); });
    QProcess paplay;
    const std::vector<double> peerAfterQuiet = afterQuiet(
        recorder, trials, [&] { paplay.start("paplay", {peerWav}); },
        [&] {
            paplay.kill();
            paplay.waitForFinished(2000);
        });
    std::printf("at a %d Hz sink, medians of %d trials:\n", kSinkRate, trials);
    row("play to sound", tonara.start, peer.start);
    row("play to sound after 1.3 s quiet", oursAfterQuiet, peerAfterQuiet);
    row("stop to silence", tonara.stop, peer.stop);
    row("silence between two timed tones", tonara.gap, peer.gap);
    return 0;
}
