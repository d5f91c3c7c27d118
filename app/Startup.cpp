// The start-up sequence: environment checks, activity log, settings and
// language, the sound-mode marks.
#include "ExFunctions.h"
#include "Folders.h"
#include "Form1.h"
#include "Form8.h"
#include "Platform.h"
#include "Program.h"
#include "TextFile.h"
#include "Trap.h"

#include <QLocale>

namespace tonara {

void Form1::start() {
    // Logout, kill and Ctrl+C close the program as its window's close does,
    // so no tone is left sounding; a second one while closing ends at once.
    platform().onTerminationRequest([this] {
        if (closeCount_ >= 1) platform().endProgram(0);
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
        if (failure.number() != err::PermissionDenied) program.ErrorNote(14, failure);
        exFunctions.delay(2500);
    }

    trapped(*this, 14, [&] {
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
        program.PrintFile("> Bit: " + state_.bit);
        markSoundModeMenu();

        setSplashStatus("Checking for updates...");
        platform().processEvents();

        unloadForm(Form::Form8);
        program.PrintFile(">> Program starting finished");
        setEnabled("Command3", false);
    });
}

void Form1::markSoundModeMenu() {
    const QString& bit = state_.bit;
    if (bit == "16") {
        setChecked("sndclassic", true);
    } else if (bit == "32") {
        setChecked("sndsound32", true);
    } else if (bit == "64") {
        setChecked("snddirectsound", true);
        for (const char* option : {"Option6", "Option8", "Option9"}) setEnabled(option, false);
    } else if (bit == "128") {
        setChecked("sndautomatic", true);
    } else if (bit == "256") {
        setChecked("sndwinmm", true);
        setEnabled("Option6", true);
    }
}

} // namespace tonara
