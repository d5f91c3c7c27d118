// Microphone capture through SDL2, the library the output uses. SDL records
// on its own thread and hands each block straight to the receiver.
#include "AudioCapture.h"
#include "RuntimeError.h"

#include <SDL.h>

namespace tonara {

namespace {

constexpr Uint16 kBlockFrames = 1024; // about 23 ms at 44 100 Hz

void deliver(void* userdata, Uint8* stream, int len) {
    static_cast<CaptureReceiver*>(userdata)->captured(stream, len);
}

RuntimeError unavailable(const QString& what) {
    return RuntimeError(err::DeviceUnavailable, what + ": " + QString::fromUtf8(SDL_GetError()));
}

// SDL fills in defaults for zero values and converts what it can; a format
// it would change is refused here instead.
SDL_AudioFormat sampleFormat(const CaptureFormat& format) {
    if (format.samplesPerSecond > 0 && format.channels > 0) {
        if (format.bitsPerSample == 8) return AUDIO_U8;
        if (format.bitsPerSample == 16) return AUDIO_S16LSB;
    }
    throw RuntimeError(5, QString("Unsupported capture format: %1 Hz, %2 bits, %3 channels")
                              .arg(format.samplesPerSecond)
                              .arg(format.bitsPerSample)
                              .arg(format.channels));
}

class SdlCaptureDevice : public CaptureDevice {
public:
    explicit SdlCaptureDevice(SDL_AudioDeviceID id) : id_(id) {}
    ~SdlCaptureDevice() override {
        SDL_CloseAudioDevice(id_); // joins SDL's capture thread
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    void start() override { SDL_PauseAudioDevice(id_, 0); }
    void stop() override { SDL_PauseAudioDevice(id_, 1); }

private:
    SDL_AudioDeviceID id_;
};

} // namespace

std::unique_ptr<CaptureDevice> openSdlCapture(const QString& device, const CaptureFormat& format,
                                              CaptureReceiver& receiver) {
    SDL_AudioSpec want{};
    want.freq = format.samplesPerSecond;
    want.format = sampleFormat(format);
    want.channels = Uint8(format.channels);
    want.samples = kBlockFrames;
    want.callback = &deliver;
    want.userdata = &receiver;

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tonara");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) throw unavailable("No sound system");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Tonara microphone");
    const QByteArray name = device.toUtf8();
    // No changes allowed: SDL converts whatever the device records into this format.
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(device.isEmpty() ? nullptr : name.constData(), 1, &want, nullptr, 0);
    if (id == 0) {
        const RuntimeError failure = unavailable("No capture device");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw failure;
    }
    return std::make_unique<SdlCaptureDevice>(id);
}

} // namespace tonara
