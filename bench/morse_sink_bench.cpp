// A long Standard Morse message through the real audio output, recorded at
// the sound server's sink and read back by multimon-ng, beside the same
// keyed sound played by paplay (at the same 60 ms buffer): how many tones
// arrive whole, and whether the text reads back. Run it with a sound server
// (tests/sound-server.sh), also beside `stress -c 2`.
//   morse_sink_bench [wpm]
#include "AudioOutput.h"
#include "CwDecoder.h"
#include "KeyingSound.h"
#include "MorseTexts.h"
#include "SinkRecording.h"
#include "SoundFile.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace tonara;
using namespace tonara::test;

namespace {

// Tones in the recording: runs of 2 ms blocks whose peak passes half the loudest.
int tonesHeard(const std::vector<std::int16_t>& samples) {
    const size_t block = size_t(framesOf(2));
    std::vector<int> peaks;
    for (size_t i = 0; i + block <= samples.size(); i += block) {
        int peak = 0;
        for (size_t k = i; k < i + block; ++k) peak = std::max(peak, std::abs(int(samples[k])));
        peaks.push_back(peak);
    }
    const int half = peaks.empty() ? 0 : *std::max_element(peaks.begin(), peaks.end()) / 2;
    int tones = 0;
    for (size_t i = 1; i < peaks.size(); ++i) tones += peaks[i] > half && peaks[i - 1] <= half;
    return tones;
}

void measure(const char* who, const std::function<void()>& play, int ms, int tones, double unitMs) {
    SinkRecorder recorder;
    QString why;
    if (!recorder.start(why)) {
        std::printf("%s: no recording (%s)\n", who, qPrintable(why));
        return;
    }
    play();
    recorder.keepRecording(ms + 500);
    const std::vector<std::int16_t> heard = recorder.stop();
    const CwDecoding decoded = decodeCw(heard, kSinkRate, unitMs);
    const bool same = cwNormalised(decoded.text) == cwNormalised(kLongText);
    std::printf("%-8s tones heard %d of %d, read back %s%s%s\n", who, tonesHeard(heard), tones,
                same ? "exactly" : "with errors: ", same ? "" : qPrintable(decoded.text), qPrintable(decoded.error));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int wpm = argc > 1 ? std::atoi(argv[1]) : 30;
    const StandardTiming timing = standardTiming({wpm, wpm});
    const KeyingPlan plan = standardPlan(kLongText, timing);
    int tones = 0;
    for (const KeyedSpan& span : plan.spans) tones += span.tone;
    const auto sound = renderKeying(plan, 700, kSinkRate, kDefaultRiseMs);
    const int ms = int(sound->frameCount() * 1000LL / kSinkRate);
    std::printf("200 characters at %d WPM (%.1f s) at a %d Hz sink\n", clampedSpeed({wpm, wpm}).wpm, ms / 1000.0, kSinkRate);

    std::unique_ptr<ToneStream> stream;
    measure("Tonara", [&] {
        stream = AudioOutput::instance().openToneStream(sound);
        stream->play(false);
    }, ms, tones, timing.unitMs);
    std::printf("Tonara   underruns reported: %ld\n", AudioOutput::instance().underruns());
    stream.reset();

    QTemporaryDir dir;
    const QString wav = dir.filePath("message.wav");
    writeSoundFile(wav, *sound, SoundFileFormat::Wav16, true);
    QProcess paplay;
    measure("paplay", [&] { paplay.start("paplay", {"--latency-msec=60", wav}); }, ms, tones, timing.unitMs);
    paplay.waitForFinished(ms + 5000);
    return 0;
}
