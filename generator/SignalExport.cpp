#include "SignalExport.h"

#include "AudioEngine.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tonara {

namespace {

constexpr int kPieceFrames = 8192;

} // namespace

void renderSignal(const SignalParameters& signal, int rate, double seconds, bool dithered,
                  const std::function<void(const float*, long)>& piece) {
    const std::int64_t frames = std::max<std::int64_t>(0, std::llround(seconds * rate));
    AudioEngine engine(rate);
    Voice* voice = engine.addSignal(signal, dithered);
    // As the live stream does: the fade-out lies within the seconds asked for.
    const std::int64_t fade = std::int64_t(rate) * AudioEngine::kSignalFadeMs / 1000;
    engine.playFor(voice, std::max<std::int64_t>(0, frames - fade));
    engine.take(0);
    std::vector<float> out(std::size_t(kPieceFrames) * 2);
    for (std::int64_t at = 0; at < frames; at += kPieceFrames) {
        const int n = int(std::min<std::int64_t>(kPieceFrames, frames - at));
        engine.mix(out.data(), at, n);
        piece(out.data(), n);
    }
    engine.release(voice);
}

void saveSignal(const QString& path, const SignalParameters& signal, int rate, double seconds, SoundFileFormat format) {
    SoundFileWriter writer(path, rate, format);
    const bool sixteen = format == SoundFileFormat::Wav16 || format == SoundFileFormat::Flac16;
    renderSignal(signal, rate, seconds, sixteen, [&](const float* stereo, long frames) { writer.write(stereo, frames); });
    writer.finish();
}

} // namespace tonara
