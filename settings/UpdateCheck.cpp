// The start-up update check: the update-information file from the maker's
// update host, and the update window when it announces a newer version.
#include "ErrorLocations.h"
#include "Program.h"

#include "Download.h"
#include "Endpoints.h"
#include "Folders.h"
#include "Platform.h"
#include "SafeFiles.h"
#include "TextFile.h"
#include "Trap.h"
#include "UpdateFile.h"

namespace tonara {

void Program::UpdateCheck() {
    trapped(mainWindow_, errol::UpdateCheck, [&] {
        tempFolder_ = tempFolder();
        const QString path = joinPath(tempFolder_, "updatetonara.txt");
        if (!Download(updateFileAddress(), path) || !fileExists(path)) return PrintFile("> Update error");
        const UpdateFile file = readUpdateFile(readFileBytes(path));
        deleteFile(path);
        if (file.rejected) return PrintFile("> Update error");

        const QString announced = file.lines.value(0);
        const QString link = file.lines.value(1);
        if (announcedVersion(announced) <= kThisVersion) return;
        mainWindow_.fillUpdateWindow(UpdateOffer{
            updatebtn1, langupdate, updatebtn2, updatebtn3,
            {updatevertxt + kThisVersionText, updatenewvertxt + versionText(announced), "Link: " + link}, link});
        mainWindow_.showForm(Form::Form7);
        while (mainWindow_.isFormVisible(Form::Form7)) {
            platform().processEvents();
            platform().delay(5);
        }
        mainWindow_.unloadForm(Form::Form7);
    });
}

} // namespace tonara
