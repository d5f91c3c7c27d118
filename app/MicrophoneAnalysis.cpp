// The microphone display's measuring side: readouts, trigger, spectrum,
// freeze and the choice of source (mic/AnalyserPanel), remembered in analyser.ini.
#include "AnalyserPanel.h"
#include "ErrorLocations.h"
#include "Form1.h"
#include "Trap.h"
#include "WaveBox.h"

namespace tonara {

void Form1::showCapturedHalf(const QByteArray& Buffer, qint16 BitsPerSample, qint16 Channels) {
    trapped(*this, errol::AnalyserHalfShown, [&] {
        if (analyser_->frozen() || !analysis_) return;
        analyser_->showReadings(analysis_->add(Buffer, BitsPerSample, Channels));
        const AnalyserSettings choices = analyser_->settings();
        if (choices.spectrum) picWave_->setPicture(analysis_->spectrum(picWave_->widthPx()));
        else if (choices.trigger) DirectSoundRecord_GotWaveData(analysis_->triggered(), BitsPerSample, Channels);
        else DirectSoundRecord_GotWaveData(Buffer, BitsPerSample, Channels);
    });
}

void Form1::analyserPictureChanged() {
    trapped(*this, errol::AnalyserPictureChanged, [&] { saveAnalyserSettings(analyser_->settings()); });
}

void Form1::analyserInputChosen() {
    trapped(*this, errol::AnalyserInputChosen, [&] {
        saveAnalyserSettings(analyser_->settings());
        if (state_.microcheck != 1) return;
        closeCaptureSource();
        picWave_->clear();
        startMicrophoneDisplay();
    });
}

} // namespace tonara
