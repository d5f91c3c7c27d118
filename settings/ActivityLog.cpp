#include "ErrorLocations.h"
#include "Program.h"

#include "Folders.h"
#include "TextFile.h"
#include "Trap.h"
#include "UploadHandOver.h"
#include "UploadName.h"

namespace tonara {

namespace {
constexpr int kLogLines = 100;

QString activityLogPath(const QString& folder) { return joinPath(folder, "userdata.txt"); }
} // namespace

// Slots past the last entry read keep what an earlier call on this object
// left there; only the rewrite in PrintFile decides what survives.
void Program::loadActivityLog() {
    trapped(mainWindow_, errol::LoadActivityLog, [&] {
        tempFolder_ = tempFolder();
        const QString path = activityLogPath(tempFolder_);
        if (!fileExists(path)) return;
        EntryReader reader(path);
        for (int n = 0; !reader.atEnd() && n < kLogLines;) {
            ++n;
            logSlots_[n] = reader.next();
        }
    });
}

void Program::PrintFile(const QString& newdata) {
    loadActivityLog();

    // The first three lines are always written, so a fresh log starts with
    // three empty lines; the last line is the one that gives way at the cap.
    QStringList lines{logSlots_[1], logSlots_[2]};
    int i = 3;
    do {
        lines << logSlots_[i];
        ++i;
    } while (!logSlots_[i].isEmpty() && i != kLogLines);
    lines << newdata;

    writeLines(activityLogPath(tempFolder_), lines);
}

void Program::SendData() {
    trapped(mainWindow_, errol::SendData, [&] {
        tempFolder_ = tempFolder();
        const qint32 number = uploadNumber();
        const QString log = activityLogPath(tempFolder_);
        if (fileExists(log) && mainWindow_.state().snd == 1)
            trapped(mainWindow_, errol::SendDataUpload, [&] { FTPSend(log, QString::number(number) + ".txt"); });
    });
}

} // namespace tonara
