// The start-up sequence: environment checks, activity log, settings and
// language, the sound-mode marks, the update check and the news window.
#include "Download.h"
#include "Endpoints.h"
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "Folders.h"
#include "Form1.h"
#include "Form3.h"
#include "Form8.h"
#include "Form9.h"
#include "Platform.h"
#include "Program.h"
#include "SoundModes.h"
#include "TextFile.h"
#include "Trap.h"

#include <QLocale>

namespace tonara {

void Form1::start() {
    // Logout, kill and Ctrl+C close the program as its window's close does,
    // so no tone is left sounding; a second one while closing ends at once.
    platform().onTerminationRequest([this] {
        if (closeCount_ >= 1) platform().endProgram(0);
        endingOnRequest_ = true;
        unloadHandler();
    });
    loadHandler();
    if (!hiddenByStartup_) show();
}

void Form1::loadHandler() {
    if (startupGuard_ == 1) {
        startupGuard_ = 0;
        return;
    }
    startupGuard_ = 1;
    platform().processEvents();

    Program program(*this);
    ExFunctions exFunctions;
    try {
        tempdir_ = tempFolder();
        deleteIfExists(joinPath(tempdir_, "userdata.txt"));
    } catch (const RuntimeError& failure) {
        if (failure.number() != err::PermissionDenied) program.ErrorNote(errol::MainWindowLoad, failure);
        exFunctions.delay(2500);
    }

    trapped(*this, errol::MainWindowLoad, [&] {
        const QString commandLine = platform().commandLine();
        if (!commandLine.isEmpty()) {
            toneFilePath_ = QString(commandLine).remove('"');
            if (fileExists(toneFilePath_)) toneFileFlag_ = 1;
        }
        if (toneFileFlag_ != 1) showForm(Form::Form8);

        tempdir_ = tempFolder();
        const QDateTime now = platform().now();
        const QLocale locale = QLocale::system();
        writeLines(joinPath(tempdir_, "userdata.txt"),
                   {locale.toString(now.date(), QLocale::ShortFormat), locale.toString(now.time(), QLocale::ShortFormat)});

        if (exFunctions.DPIGet() != 96) {
            platform().messageBox("DPI settings could cause problems!", "Warning", MessageIcon::Exclamation,
                                  MessageButtons::Ok);
            program.PrintFile(">>> Bad DPI settings");
        }

        program.PrintFile(">> Program started");
        program.PrintFile("> Windows version check");
        setSplashStatus("Windows check...");
        platform().processEvents();
        program.PrintFile(exFunctions.CheckVersion());

        program.PrintFile("> Write test");
        setSplashStatus("Write test...");
        platform().processEvents();
        program.WriteTest();

        program.PrintFile("> Reading settings");
        setSplashStatus("Reading settings...");
        platform().processEvents();
        program.CheckSettings();
        program.LanguageAPI(state_.lang, 1);
        followLanguage();
        program.PrintFile("> Bit: " + state_.bit);
        markSoundModeMenu();

        setSplashStatus("Checking for updates...");
        platform().processEvents();
        if (state_.updater == 1) program.UpdateCheck();

        const QString testFile = joinPath(tempdir_, "testcon.dat");
        connectivityResult_ = Download(connectivityTestAddress(), testFile) ? -1 : 0;
        if (fileExists(testFile) && toneFileFlag_ != 1 && connectivityResult_ == -1) {
            showForm(Form::Form3);
            if (auto* news = qobject_cast<Form3*>(loadedForm(Form::Form3))) news->navigate(newsPageAddress());
        }
        deleteIfExists(testFile);

        unloadForm(Form::Form8);
        if (toneFileFlag_ == 1) {
            program.PrintFile("> Starting tnf file");
            if (auto* player = qobject_cast<Form9*>(loadForm(Form::Form9))) player->setInputs(toneFilePath_, state_.bit);
            showForm(Form::Form9);
            hideForm(Form::Form1);
        }
        if (state_.microcheck == 1) startMicrophoneDisplay();
        program.PrintFile(">> Program starting finished");
        setEnabled(form1::Command3, false);
    });
}

void Form1::markSoundModeMenu() {
    const SoundMode* mode = soundModeFor(state_.bit);
    if (!mode) return;
    setChecked(mode->menuItem, true);
    if (mode->disablesToolModes)
        for (MainControl option : kToolModeOptions) setEnabled(option, false);
    if (mode->startEnablesLowToHigh) setEnabled(form1::Option6, true);
}

} // namespace tonara
