#include "MicrophoneAnalyser.h"
#include "CapturedSamples.h"
#include "SpectrumDrawing.h"
#include "Trigger.h"

#include <algorithm>

namespace tonara {

MicrophoneAnalyser::MicrophoneAnalyser(int samplesPerSecond) : rate_(samplesPerSecond) {}

MicrophoneAnalyser::~MicrophoneAnalyser() = default;

MicrophoneReadings MicrophoneAnalyser::add(const QByteArray& half, int bitsPerSample, int channels) {
    const std::vector<float> mono = monoSamples(half, bitsPerSample, channels);
    const size_t frames = mono.size();
    if (frames == 0) return {};
    if (bitsPerSample != bits_ || channels != channels_ || half.size() != current_.size() ||
        window_.size() != 2 * frames) {
        bits_ = bitsPerSample;
        channels_ = channels;
        previous_ = QByteArray(half.size(), bitsPerSample == 8 ? char(0x80) : '\0');
        window_.assign(2 * frames, 0.0f);
        halvesIn_ = 0;
        analysis_ = std::make_unique<SpectrumAnalysis>(int(window_.size()), rate_);
        average_.clear();
        averagedDb_.clear();
    } else {
        previous_ = current_;
    }
    current_ = half;
    std::copy(window_.begin() + qsizetype(frames), window_.end(), window_.begin());
    std::copy(mono.begin(), mono.end(), window_.begin() + qsizetype(frames));
    ++halvesIn_;

    const std::vector<double>& levels = analysis_->analyse(window_);
    MicrophoneReadings readings;
    readings.level = levelOf(allSamples(half, bitsPerSample));
    // Until the window is full, half of it is the silence before the capture.
    if (halvesIn_ >= 2) {
        averagedDb_ = average_.add(levels);
        readings.hz = analysis_->dominantHz();
    }
    return readings;
}

WavePicture MicrophoneAnalyser::spectrum(int widthPx) const {
    if (!analysis_) return spectrumPicture({}, 0, widthPx);
    return spectrumPicture(averagedDb_, analysis_->binHz(), widthPx);
}

QByteArray MicrophoneAnalyser::triggered() const { return triggeredHalf(previous_, current_, bits_, channels_); }

QString frequencyText(const std::optional<double>& hz) {
    return "Frequency: " + (hz ? QString::number(*hz, 'f', 1) + " Hz" : QString("-"));
}

QString levelText(const LevelReading& level) {
    if (!std::isfinite(level.peakDb)) return "Level: silent";
    return QString("Level: %1 dBFS RMS, %2 dBFS peak").arg(level.rmsDb, 0, 'f', 1).arg(level.peakDb, 0, 'f', 1);
}

} // namespace tonara
