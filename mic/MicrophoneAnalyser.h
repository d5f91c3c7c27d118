#pragma once
// The measuring side of the microphone display: every captured half goes
// in; out come the readouts (the last two halves' dominant frequency, the
// last half's level), the averaged spectrum and the triggered half to draw.
// Runs on the interface thread: about a millisecond per half.

#include "SignalAnalysis.h"
#include "WaveDrawing.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace tonara {

struct MicrophoneReadings {
    std::optional<double> hz; // none until two halves have arrived, and for silence
    LevelReading level;
};

class MicrophoneAnalyser {
public:
    explicit MicrophoneAnalyser(int samplesPerSecond);
    ~MicrophoneAnalyser();

    // A half in the capture format; a change of format or size starts afresh.
    MicrophoneReadings add(const QByteArray& half, int bitsPerSample, int channels);
    // The spectrum of what was added, averaged, for a box widthPx wide.
    WavePicture spectrum(int widthPx) const;
    // The last half, to draw from its last rising crossing on.
    QByteArray triggered() const;

private:
    const int rate_;
    int bits_ = 0;
    int channels_ = 0;
    QByteArray previous_;
    QByteArray current_;
    std::vector<float> window_; // the channels' mean over the last two halves
    int halvesIn_ = 0;
    std::unique_ptr<SpectrumAnalysis> analysis_;
    SpectrumAverage average_;
    std::vector<double> averagedDb_;
};

// "Frequency: 440.0 Hz"; "Frequency: -" when there is none.
QString frequencyText(const std::optional<double>& hz);
// "Level: -9.0 dBFS RMS, -6.0 dBFS peak"; "Level: silent" for digital silence.
QString levelText(const LevelReading& level);

} // namespace tonara
