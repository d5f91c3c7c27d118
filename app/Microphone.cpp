// The microphone display: the capture source, its menu item, the
// sensitivity buttons and the drawing of every captured half into picWave.
#include "AnalyserPanel.h"
#include "ErrorLocations.h"
#include "Form1.h"
#include "NumberText.h"
#include "Platform.h"
#include "Program.h"
#include "Trap.h"
#include "WaveBox.h"
#include "frmDX_Record.h"

namespace tonara {

namespace {

constexpr qint16 kLeastSensitivity = 1;
constexpr qint16 kMostSensitivity = 20;
constexpr qint32 kCaptureRate = 44100;

} // namespace

void Form1::startMicrophoneDisplay() {
    delete DirectSoundRecord;
    DirectSoundRecord = new frmDX_Record(*this, this);
    connect(DirectSoundRecord, &frmDX_Record::GotWaveData, this, &Form1::showCapturedHalf);
    analysis_ = std::make_unique<MicrophoneAnalyser>(kCaptureRate);
    analyser_->setSources(platform().captureSources());
    startMicrophone();
}

// A capture source that failed to start is closed already; stopping it again does nothing.
void Form1::closeCaptureSource() {
    if (DirectSoundRecord) {
        stopMicrophone();
        DirectSoundRecord->SoundStop();
    }
    delete DirectSoundRecord;
    DirectSoundRecord = nullptr;
}

void Form1::startMicrophone() {
    trapped(*this, errol::MicrophoneStart, [&] {
        const QString failure = DirectSoundRecord->Initialize(kCaptureRate, 16, 2, 0, analyser_->input());
        if (failure.isEmpty()) {
            DirectSoundRecord->SoundPlay();
            return;
        }
        platform().messageBox(failure, "DirectSound Error", MessageIcon::Exclamation, MessageButtons::Ok);
        setChecked(form1::microinputonoff, false);
        Program(*this).WriteLine(6, "MicrophoneON=n");
        state_.microcheck = 0;
        // Nothing to adjust while the display is off.
        setEnabled(form1::Command4, false);
        setEnabled(form1::Command5, false);
    });
}

void Form1::stopMicrophone() {
    trapped(*this, errol::MicrophoneStop, [&] {
        DirectSoundRecord->SoundStop();
        DirectSoundRecord->UninitializeSound();
    });
}

void Form1::microinputonoffClicked() {
    trapped(*this, errol::MicrophoneOnOffClicked, [&] {
        Program program(*this);
        if (isChecked(form1::microinputonoff)) {
            setChecked(form1::microinputonoff, false);
            program.WriteLine(6, "MicrophoneON=n");
            state_.microcheck = 0;
            closeCaptureSource();
            picWave_->clear();
            setEnabled(form1::Command4, false);
            setEnabled(form1::Command5, false);
        } else {
            setChecked(form1::microinputonoff, true);
            program.WriteLine(6, "MicrophoneON=y");
            state_.microcheck = 1;
            startMicrophoneDisplay();
            if (state_.microcheck == 1) {
                setEnabled(form1::Command4, true);
                setEnabled(form1::Command5, true);
            }
        }
    });
}

void Form1::plusClicked() { changeSensitivity(errol::SensitivityUpClicked, +1); }
void Form1::minusClicked() { changeSensitivity(errol::SensitivityDownClicked, -1); }

void Form1::changeSensitivity(qint16 errol, int by) {
    trapped(*this, errol, [&] {
        Program program(*this);
        const int wanted = state_.sensmicro + by;
        if (wanted < kLeastSensitivity || wanted > kMostSensitivity) return;
        state_.sensmicro = qint16(wanted);
        const QString value = signedNumberText(state_.sensmicro);
        setCaption(form1::Frame4, state_.microphonetxt1 + value);
        program.WriteLine(5, "Microphone=" + value);
    });
}

void Form1::DirectSoundRecord_GotWaveData(const QByteArray& Buffer, qint16 BitsPerSample, qint16 Channels) {
    trapped(*this, errol::MicrophoneWaveData, [&] {
        const bool stereo = Channels == 2;
        if (BitsPerSample == 8) draw8Bit(Buffer, stereo);
        else if (BitsPerSample == 16) convert16Bit(Buffer, stereo);
    });
}

void Form1::draw8Bit(const QByteArray& buffer, bool stereo) {
    trapped(*this, errol::MicrophoneDraw8Bit,
            [&] { picWave_->setPicture(drawing8Bit(buffer, picWave_->widthPx(), stereo, state_.sensmicro)); });
}

void Form1::convert16Bit(const QByteArray& buffer, bool stereo) {
    trapped(*this, errol::MicrophoneConvert16Bit, [&] { draw16Bit(samples16Bit(buffer), stereo); });
}

void Form1::draw16Bit(const std::vector<qint16>& samples, bool stereo) {
    trapped(*this, errol::MicrophoneDraw16Bit,
            [&] { picWave_->setPicture(drawing16Bit(samples, picWave_->widthPx(), stereo, state_.sensmicro)); });
}

} // namespace tonara
