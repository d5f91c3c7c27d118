// The menu bar's handlers: sound mode, language, automatic updates, the
// maker's web pages, the about box, the pitch help, Open... and Exit; the
// signal generator and the output's volume.
#include "ErrorLocations.h"
#include "Form1.h"
#include "GeneratorSettings.h"
#include "GeneratorWindow.h"
#include "ModePresentation.h"
#include "PictureBox.h"
#include "Platform.h"
#include "Program.h"
#include "SoundModes.h"
#include "TextFile.h"
#include "Trap.h"
#include "WebAddresses.h"
#include "WebLinks.h"
#include "WindowLanguage.h"

#include <QRadioButton>
#include <cmath>

namespace tonara {

namespace {

const QString kToneFileFilter = QStringLiteral("Tonara file (*.tnf)|*.tnf|All files (*.*)|*.*");

} // namespace

// Choosing an option runs its handler, even when it is chosen already.
void Form1::selectOption(int option) {
    if (options_[size_t(option)]->isChecked()) optionClicked(option);
    else options_[size_t(option)]->setChecked(true);
}

void Form1::soundModeClicked(const SoundMode& mode) {
    Program program(*this);
    trapped(*this, mode.menuErrol, [&] {
        for (const SoundMode& other : soundModes()) setChecked(other.menuItem, &other == &mode);
        program.WriteLine(2, mode.settingsLine);
        state_.bit = mode.code;
        for (MainControl option : kToolModeOptions) setEnabled(option, !mode.disablesToolModes);
        if (mode.menuSelectsLowPitch) selectOption(1);
    });
}

void Form1::languageClicked(bool dutch) {
    Program program(*this);
    trapped(*this, dutch ? errol::DutchClicked : errol::EnglishClicked, [&] {
        setChecked(form1::dutch, dutch);
        setChecked(form1::english, !dutch);
        program.WriteLine(3, dutch ? "Language=NL" : "Language=EN");
        state_.lang = dutch ? "nl" : "en";
        program.LanguageAPI(state_.lang, 1);
        followLanguage();
        for (int k = 1; k <= 9; ++k) {
            if (!isChecked(optionName(k))) continue;
            ModePresentation(program, *picture1_).SelectRadio(qint16(k));
            break;
        }
    });
}

// Takes effect at the next start: the running window's updater stays as it is.
void Form1::autoUpdateClicked() {
    Program program(*this);
    trapped(*this, errol::AutoUpdateClicked, [&] {
        const bool wasOn = isChecked(form1::autoupdate);
        program.WriteLine(1, wasOn ? "AutoUpdate=n" : "AutoUpdate=y");
        setChecked(form1::autoupdate, !wasOn);
    });
}

void Form1::webLinkClicked(const WebLink& link) {
    Program program(*this);
    trapped(*this, link.errol, [&] {
        program.PrintFile(link.logLine);
        platform().openUrl(websiteAddress() + link.path);
    });
}

void Form1::aboutClicked() {
    Program program(*this);
    trapped(*this, errol::AboutClicked, [&] { showForm(Form::frmAbout); });
}

void Form1::pitchHelpClicked() {
    Program program(*this);
    trapped(*this, errol::PitchHelpClicked, [&] { showForm(Form::Form2); });
}

void Form1::exitClicked() {
    Program program(*this);
    trapped(*this, errol::ExitClicked, [&] { unloadForm(Form::Form1); });
}

// The file plays in a second copy of the program; this one goes on as it was.
void Form1::openFileClicked() {
    Program program(*this);
    trapped(*this, errol::OpenFileClicked, [&] {
        const QString chosen = platform().openFileName("Select File", kToneFileFilter, "tnf");
        if (chosen.isEmpty() || !fileExists(chosen)) return;
        platform().startProgram('"' + platform().programPath() + "\" " + chosen, false);
    });
}

} // namespace tonara

namespace tonara {

void Form1::signalGeneratorClicked() {
    if (!generator_) {
        generator_ = new GeneratorWindow(this);
        generator_->setAttribute(Qt::WA_DeleteOnClose);
        tonara::followLanguage(generator_, state_.lang);
    }
    generator_->show();
    generator_->raise();
    generator_->activateWindow();
}

void Form1::volumeChanged(int db) {
    platform().setOutputVolume(std::pow(10.0, db / 20.0));
    saveVolumeDb(db);
}

} // namespace tonara
