#include "ErrorWindowExit.h"
#include "Program.h"

#include "Folders.h"
#include "NumberText.h"
#include "Platform.h"
#include "TextFile.h"
#include "UploadHandOver.h"
#include "UploadName.h"

#include <QLocale>
#include <cstdlib>

namespace tonara {

namespace {

QStringList errorReportLines(qint16 errol, const RuntimeError& failure) {
    const ScreenInfo screen = platform().screen();
    const QDateTime now = platform().now();
    const QLocale locale = QLocale::system();
    return {
        "Error number: " + signedNumberText(failure.number()) + ",   Error value: " + signedNumberText(errol),
        "<" + failure.description() + ">",
        "Resolution:" + signedNumberText(screen.widthPx) + " x" + signedNumberText(screen.heightPx) +
            ",   DPI:" + signedNumberText(screen.dpiX),
        "Time: " + locale.toString(now.time(), QLocale::ShortFormat) +
            ", Date: " + locale.toString(now.date(), QLocale::ShortFormat),
    };
}

} // namespace

void closeEveryWindow(MainWindow& mainWindow) {
    for (Form form : {Form::Form1, Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form6, Form::Form7,
                      Form::Form8, Form::Form9})
        mainWindow.unloadForm(form);
}

void Program::ErrorNote(qint16 errol, const RuntimeError& failure) {
    const QStringList report = errorReportLines(errol, failure);
    try {
        tempFolder_ = tempFolder();
        const QString errorLog = joinPath(tempFolder_, "error.log");
        writeLines(errorLog, report);
        if (fileExists(errorLog) && mainWindow_.state().snd == 1)
            FTPSend("error.log", QString::number(uploadNumber()) + "error.log");
    } catch (const RuntimeError&) {
        // No usable temporary folder: the user still gets the report in the
        // window. Reporting the failure would only come back here.
    }

    mainWindow_.addErrorLines(report);
    mainWindow_.showForm(Form::Form6);
    for (Form form : {Form::Form1, Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form7, Form::Form8,
                      Form::Form9})
        mainWindow_.hideForm(form);

    while (!mainWindow_.errorWindowLeft()) {
        platform().processEvents();
        platform().delay(50);
    }
    // Leaving the window by its title bar ends the program the same way Exit does.
    closeEveryWindow(mainWindow_);
    platform().endProgram(0);
    std::abort(); // endProgram is declared noreturn but reached through a virtual call
}

} // namespace tonara
