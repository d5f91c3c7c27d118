// TEMPORARY scaffold: replaced by the SDL2 mixer.
#include "AudioOutput.h"
#include "RuntimeError.h"
namespace tonara {
namespace {
class NoAudio : public AudioOutput {
    void playWav(const QString&, bool) override {}
    void silenceWav() override {}
    void beep(int, int) override {}
    std::unique_ptr<ToneStream> openToneStream(const QString&) override { raise(err::DeviceUnavailable); }
};
}
AudioOutput& AudioOutput::instance() { static NoAudio a; return a; }
}
