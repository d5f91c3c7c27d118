// The nine modes, the custom-pitch slider, Play and Stop.
#include "ErrorLocations.h"
#include "Folders.h"
#include "ExternalTone.h"
#include "Form1.h"
#include "ModePresentation.h"
#include "NumberText.h"
#include "PictureBox.h"
#include "Platform.h"
#include "Program.h"
#include "Sound.h"
#include "TextFile.h"
#include "Trap.h"

#include <QScrollBar>

namespace tonara {

namespace {

constexpr qint16 kPresetPitches[] = {0, 1000, 4500, 10000, 16600, 21000};
constexpr qint16 kSweepCode = 1;
constexpr qint16 kMorseCode = 3;

} // namespace

void Form1::optionClicked(int option) {
    Program program(*this);
    trapped(*this, qint16(errol::BeforeOptionClicked + option), [&] {
        ModePresentation presentation(program, *picture1_);
        presentation.SelectRadio(qint16(option));
        if (option <= 5) {
            state_.stopme = 1;
            presentation.DrawSine(kPresetPitches[option], kAnimatedPreview);
        } else if (option <= 8) {
            state_.stopme = 1;
        }
    });
}

void Form1::sliderChanged() {
    Program program(*this);
    trapped(*this, errol::PitchSliderChanged, [&] {
        setCaption(form1::Label10, signedNumberText(hscroll1_->value()));
        ModePresentation(program, *picture1_).DrawSine(toInt16(integerPart(caption(form1::Label10))), kStaticPreview);
    });
}

void Form1::playClicked() {
    Program program(*this);
    trapped(*this, errol::PlayClicked, [&] {
        sound tone(*this);
        tone.setLang(state_.lang);
        tempdir_ = tempFolder();
        setStatusText(1, state_.acctoon1);
        program.PrintFile("#Pressed Button 2");

        qint16 pitch = 0;
        for (int k = 1; k <= 5 && pitch == 0; ++k)
            if (isChecked(optionName(k))) pitch = kPresetPitches[k];
        if (isChecked(form1::Option6)) pitch = kSweepCode;
        if (isChecked(form1::Option7)) {
            pitch = toInt16(integerPart(caption(form1::Label10)));
            setEnabled(form1::HScroll1, false);
        }
        if (isChecked(form1::Option8)) pitch = kMorseCode;

        if (isChecked(form1::Option9)) {
            replaceLines(joinPath(tempdir_, "quillon.ini"), {state_.bit, state_.lang});
            platform().startProgram("Quillon.dll", false);
            return;
        }

        program.PrintFile(signedNumberText(pitch));
        if (pitch == 0) {
            platform().messageBox("Insoluble error, contact Norvane Software!", "Error", MessageIcon::Critical,
                                  MessageButtons::Ok);
            platform().endProgram(1);
        }
        state_.z = 0;

        if (pitch != kMorseCode) {
            setEnabled(form1::Command2, false);
            setEnabled(form1::Command3, true);
            setEnabled(form1::settings, false);
            for (int k = 1; k <= 9; ++k) {
                wasdisabled_[size_t(k)] = isEnabled(optionName(k)) ? 0 : 1;
                setEnabled(optionName(k), false);
            }
        }

        const auto stopped = [&] { return !isFormVisible(Form::Form1) || state_.z == 1; };
        if (pitch == kSweepCode) {
            tone.playSweep(state_.bit);
            do {
                platform().processEvents();
                platform().serveEvents(kToneWaitMs, stopped);
            } while (isFormVisible(Form::Form1) && state_.z != 1);
            program.PrintFile("#Sound stopped");
            return;
        }
        if (pitch == kMorseCode) {
            program.PrintFile("#Morse");
            setStatusText(1, state_.acctoon1);
            showForm(Form::Form4);
            return;
        }
        setStatusText(1, state_.acctoon1);
        tone.playContinuous(state_.bit, pitch);
        while (isFormVisible(Form::Form1) && state_.z != 1) {
            platform().processEvents();
            platform().serveEvents(kToneWaitMs, stopped);
        }
        program.PrintFile("#Sound stopped");
        setStatusText(1, state_.acctoon1);
    });
}

void Form1::stopClicked() {
    Program program(*this);
    trapped(*this, errol::StopClicked, [&] {
        setEnabled(form1::Command2, true);
        setEnabled(form1::Command3, false);
        setEnabled(form1::settings, true);
        for (int k = 1; k <= 9; ++k)
            if (wasdisabled_[size_t(k)] == 0) setEnabled(optionName(k), true);
        sound tone(*this);
        if (isChecked(form1::Option7)) setEnabled(form1::HScroll1, true);
        tone.KillAll();
        program.PrintFile("#Pressed Button 3");
        state_.z = 1;
    });
}

} // namespace tonara
