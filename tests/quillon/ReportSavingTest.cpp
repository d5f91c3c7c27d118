// Saving the hearing report from the result window.
#include "QuillonRig.h"

#include "Folders.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tonara::test {

namespace {

// A user of 30 who did not hear level 6, at the result window.
void atTheResult(QuillonRig& rig) {
    rig.wizard.start();
    runTest(rig, "30", 5);
}

} // namespace

TEST(ReportSaving, CancellingTheDialogWritesNothing) {
    QuillonRig rig;
    atTheResult(rig);
    click(rig.wizard.resultWindow(), quillonResult::Picture1);
    EXPECT_EQ(rig.env.fake.count("save-dialog"), 1);
    // In the user's documents, not the program's folder (not writable once installed).
    EXPECT_EQ(rig.env.fake.last("save-dialog")->offeredName, documentsFolder());
    EXPECT_EQ(QDir(rig.env.temp()).entryList(QDir::Files), QStringList());
}

TEST(ReportSaving, ANameWithoutSuffixIsUsedAsTypedAndASecondSaveReplacesTheFile) {
    QuillonRig rig;
    atTheResult(rig);
    const QString path = rig.env.temp("my hearing");
    writeBytes(path, QByteArray(5000, 'x'));
    saveReportAs(rig, path);
    const QByteArray first = fileBytes(path);
    EXPECT_EQ(fileLines(path).size(), 18);
    EXPECT_TRUE(first.endsWith("Hearing is: Average\r\n"));
    saveReportAs(rig, path);
    EXPECT_EQ(fileBytes(path), first);
    EXPECT_EQ(QDir(rig.env.temp()).entryList(QDir::Files), QStringList{"my hearing"});
}

TEST(ReportSaving, AnUnwritablePathSaysInvalidPathAndTheWindowStays) {
    QuillonRig rig;
    atTheResult(rig);
    const QString readOnly = rig.env.temp("read-only");
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case {
        QString path;
        const char* message;
    };
    for (const Case& c : {Case{rig.env.temp("no such folder/report.txt"), "Invalid path: Path not found"},
                          Case{rig.env.temp(), "Invalid path: Path/File access error"},
                          Case{readOnly + "/report.txt", "Invalid path: Permission denied"}}) {
        if (c.path.startsWith(readOnly) && ::geteuid() == 0) continue; // root writes anywhere
        saveReportAs(rig, c.path);
        const PlatformRecord* message = rig.env.fake.last("message");
        ASSERT_NE(message, nullptr) << c.path.toStdString();
        EXPECT_EQ(message->text, c.message);
        EXPECT_EQ(message->title, "Error");
        EXPECT_EQ(message->icon, MessageIcon::Exclamation);
        EXPECT_TRUE(rig.wizard.resultWindow().isVisible());
        rig.env.fake.records.clear();
    }
    EXPECT_EQ(rig.env.fake.count("end"), 0);
    // Saving still works afterwards.
    saveReportAs(rig, rig.env.temp("report.txt"));
    EXPECT_EQ(fileLines(rig.env.temp("report.txt")).size(), 18);
}

} // namespace tonara::test
