// A pass of the player: every tone of the file in order, with the back-end
// of the sound mode code.
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "ExternalTone.h"
#include "Folders.h"
#include "Form9.h"
#include "Platform.h"
#include "Sound.h"
#include "SoundModes.h"
#include "Trap.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace tonara {

// How a tone starts, how long the player waits for it and what it ends
// afterwards follow the sound mode code; a code that is none of the modes
// sounds nothing for the tone's time. The multimedia player returns when its
// tone has ended, so nothing is waited for it.
void Form9::playTone(const Tone& tone) {
    const SoundMode* mode = soundModeFor(modeText_);
    ExFunctions ex;
    if (!mode) {
        ex.delay(0);
        ex.delay(toneFile_.extraTime);
        ex.delay(tone.duration);
        return;
    }
    switch (mode->playerTone) {
    case PlayerTone::Companion:
        platform().startProgram(
            "cmd /c \"" + joinPath(platform().companionFolder(), QString::fromLatin1(mode->playerProgram)) + '"', true);
        break;
    case PlayerTone::ToneProgram: platform().startProgram(QString::fromLatin1(mode->playerProgram), true); break;
    case PlayerTone::Player:
        // Formed wide: a tone of up to 32 000 ms plus as much extra time plays whole.
        sound(mainWindow_).SoundWinmmRNDTMP(tone.pitch, qint32(tone.duration) + toneFile_.extraTime);
        break;
    }
    if (mode->playerTone != PlayerTone::Player) {
        ex.delay(mode->playerLeadMs);
        ex.delay(toneFile_.extraTime);
        ex.delay(tone.duration);
    }
    ex.KillProcess(QString::fromLatin1(mode->playerEnds));
}

void Form9::countTone() {
    label1_->setText(QString::number(label1_->text().toInt() + 1));
    progressBar1_->setValue(progressBar1_->value() + 1);
}

// Events are served twice per tone, before it sounds, so Stop ends the pass
// after the sounding tone.
void Form9::runPass() {
    trapped(mainWindow_, errol::PlayerPass, [&] {
        const qint16 count = qint16(toneFile_.tones.size());
        label1_->setText("0");
        // A range of 0 to 0 would turn the bar into a busy indicator.
        progressBar1_->setRange(0, qMax<int>(count, 1));
        progressBar1_->setValue(0);
        stopFlag_ = 0;
        passCounter_ = 0;
        toneIndex_ = 0;
        const quint32 pass = ++passSerial_;
        const QPointer<Form9> self(this);
        auto givenWay = [&] { return !self || passSerial_ != pass; };

        while (count > 0) {
            platform().processEvents();
            if (givenWay()) return;
            // A Stop served in this turn: nothing more sounds.
            if (stopFlag_ == 1) break;
            ++passCounter_;
            ++toneIndex_;
            const Tone tone = toneFile_.tones[size_t(toneIndex_ - 1)];
            writeToneRequest(pitchRequestLine(tone.pitch));
            label6_->setText(QString::number(tone.pitch));
            label8_->setText(QString::number(tone.duration));
            platform().processEvents();
            if (givenWay()) return;
            if (stopFlag_ == 1) break;
            playTone(tone);
            countTone();
            if (passCounter_ >= count || stopFlag_ == 1) break;
        }

        if (toneFile_.visibility == 1) {
            unloadHandler();
            return;
        }
        label1_->setText(QString::number(count));
        progressBar1_->setValue(count);
        command1_->setEnabled(true);
        label6_->clear();
        label8_->clear();
    });
}

} // namespace tonara
