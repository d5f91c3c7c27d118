// The signal generator's cost: CPU per second of sound for each waveform,
// mixed as the audio callback mixes it, and a 10-minute export beside
// SoX's synth making the same signal.
//
//   build/bin/generator_bench [folder for the export files]
#include "AudioEngine.h"
#include "SignalExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace tonara;

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Share of one core that mixing the signal live takes, in callback-sized pieces.
double coreShare(const SignalParameters& signal, int rate) {
    constexpr int kSeconds = 10, kPiece = 480;
    AudioEngine engine(rate);
    Voice* voice = engine.addSignal(signal);
    engine.play(voice, true);
    engine.take(0);
    std::vector<std::int16_t> out(std::size_t(kPiece) * 2);
    const double start = cpuSeconds();
    for (std::int64_t at = 0; at < std::int64_t(kSeconds) * rate; at += kPiece) engine.mix(out.data(), at, kPiece);
    return (cpuSeconds() - start) / kSeconds * 100;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const struct { Waveform waveform; const char* name; } waves[] = {
        {Waveform::Sine, "sine"},         {Waveform::Square, "square"},          {Waveform::Triangle, "triangle"},
        {Waveform::Sawtooth, "sawtooth"}, {Waveform::WhiteNoise, "white noise"}, {Waveform::PinkNoise, "pink noise"}};
    std::printf("CPU per second of sound, %% of one core (the limit is 2 %%):\n");
    std::printf("%-12s %10s %10s %10s %10s\n", "waveform", "1 kHz/48k", "100 Hz/48k", "20 Hz/48k", "1 kHz/96k");
    for (const auto& w : waves) {
        SignalParameters s;
        s.waveform = w.waveform;
        s.levelDb = -20;
        std::printf("%-12s", w.name);
        for (const auto& [hz, rate] : {std::pair{1000.0, 48000}, {100.0, 48000}, {20.0, 48000}, {1000.0, 96000}}) {
            s.frequency = hz;
            std::printf(" %10.3f", coreShare(s, rate));
        }
        std::printf("\n");
    }

    SignalParameters tone;
    tone.frequency = 1000;
    tone.levelDb = -20;
    const QString ours = folder + "/generator-10min.wav", peer = folder + "/sox-10min.wav";
    QElapsedTimer timer;
    timer.start();
    saveSignal(ours, tone, 48000, 600, SoundFileFormat::Wav16);
    const double oursSeconds = double(timer.elapsed()) / 1000.0;
    std::printf("\nExport of 10 minutes, 1 kHz sine at -20 dBFS, stereo WAV 16-bit 48 kHz:\n");
    std::printf("  Tonara: %.2f s, %lld bytes\n", oursSeconds, static_cast<long long>(QFileInfo(ours).size()));
    if (QStandardPaths::findExecutable("sox").isEmpty()) {
        std::printf("  sox: not installed\n");
        return 0;
    }
    timer.restart();
    const int exit = QProcess::execute("sox", {"-n", "-r", "48000", "-b", "16", "-c", "2", peer, "synth", "600", "sine",
                                               "1000", "vol", "-20dB"});
    const double peerSeconds = double(timer.elapsed()) / 1000.0;
    std::printf("  sox synth: %.2f s, %lld bytes%s\n", peerSeconds, static_cast<long long>(QFileInfo(peer).size()),
                exit == 0 ? "" : " (sox failed)");
    QFile::remove(ours);
    QFile::remove(peer);
    return 0;
}
