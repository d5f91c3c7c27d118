// Tones on the second output stream of the default device, made from a WAV
// file and looped until stopped. The multimedia player is left alone here:
// the same file on both outputs would sound twice, out of phase.
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "Folders.h"
#include "Sound.h"
#include "Synthesis.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

namespace {

constexpr qint16 kStreamWaitMs = 100;

std::unique_ptr<ToneStream> startLooping(const QString& wavPath) {
    std::unique_ptr<ToneStream> stream = platform().openToneStream(wavPath);
    stream->play(true);
    return stream;
}

// Without a device nothing may be left behind: the file is only there for the stream.
std::unique_ptr<ToneStream> startSynthesisedTone(qint32 pitch) {
    writeToneWav(pitch);
    try {
        return startLooping(temporaryToneWav());
    } catch (...) {
        deleteIfExists(temporaryToneWav());
        throw;
    }
}

} // namespace

void sound::SoundDXRND(qint32 pitch) {
    trapped(mainWindow_, errol::SoundDXRND, [&] {
        toneBuffer_.reset();
        toneBuffer_ = startSynthesisedTone(pitch);
        showStatusPitch(pitch);
        waitWhilePlaying(kStreamWaitMs);
        toneBuffer_->stop();
        deleteIfExists(temporaryToneWav());
    });
}

void sound::SoundDXRNDTMP(qint32 pitch, qint16 Duration) {
    trapped(mainWindow_, errol::SoundDXRNDTMP, [&] {
        toneBuffer_.reset();
        toneBuffer_ = startSynthesisedTone(pitch);
        ExFunctions().delay(Duration);
        toneBuffer_->stop();
        deleteIfExists(temporaryToneWav());
    });
}

void sound::SoundDX(qint32 pitch, const QString& modeval, qint32 delay) {
    trapped(mainWindow_, errol::SoundDX, [&] {
        toneBuffer_.reset();
        toneBuffer_ = startLooping(joinPath(platform().dataFolder(), "sounddx" + modeval + ".dll"));
        // A non-zero delay sets the playback rate, in samples per second.
        if (delay != 0) toneBuffer_->setFrequency(delay);
        showStatusPitch(pitch);
        waitWhilePlaying(kStreamWaitMs);
        toneBuffer_->stop();
    });
}

} // namespace tonara
