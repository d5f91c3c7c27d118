// A continuous tone of the audio output for a number of seconds, as the
// player plays it: what the output costs is measured from outside
// (bench/output_cpu.sh). Given a third number, the program stays that many
// seconds after the stop, its output open (bench/stall_stop.sh).
#include "AudioOutput.h"
#include "Synthesis.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    using namespace tonara;
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int pitch = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    const int linger = argc > 3 ? std::max(0, std::atoi(argv[3])) : 0;
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    WriteWave(wav, CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16));
    AudioOutput& output = AudioOutput::instance();
    output.playWav(wav, true);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    output.silenceWav();
    std::this_thread::sleep_for(std::chrono::seconds(linger));
    output.letEndedSoundsPlayOut();
    return 0;
}
