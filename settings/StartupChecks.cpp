#include "ErrorLocations.h"
#include "Program.h"

#include "Folders.h"
#include "Leftovers.h"
#include "Platform.h"
#include "SafeFiles.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

Program::Program(MainWindow& mainWindow) : mainWindow_(mainWindow) {}

namespace {

// True when a one-line file can be written to folder and is then there.
// A folder that refuses the write counts as a failed test, not as an error.
// The probe's name is of its own making, so no file of the user's is touched.
bool folderTakesFiles(const QString& folder) {
    QString probe;
    try {
        probe = writeFreshFile(folder, kWriteProbePrefix, "\r\n");
    } catch (const RuntimeError&) {
        return false;
    }
    if (!fileExists(probe)) return false;
    deleteFile(probe);
    return true;
}

} // namespace

void Program::WriteTest() {
    trapped(mainWindow_, errol::WriteTest, [&] {
        appDataFolder_ = appDataFolder();
        tempFolder_ = tempFolder();
        for (const QString& folder : {tempFolder_, appDataFolder_}) {
            if (folderTakesFiles(folder)) continue;
            platform().messageBox("Write error", "Write error", MessageIcon::Exclamation, MessageButtons::Ok);
            platform().endProgram(1);
        }
    });
}

void Program::Terminate() {
    trapped(mainWindow_, errol::Terminate, [&] {
        mainWindow_.state().z = 1;
        SendData();
        for (Form form : {Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form6, Form::Form7, Form::Form8})
            mainWindow_.unloadForm(form);
        mainWindow_.unloadForm(Form::Form1);
    });
}

} // namespace tonara
