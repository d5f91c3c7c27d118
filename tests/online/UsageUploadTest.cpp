// The main program's side of the uploads: SendData, the error report's
// upload and their hand-over file, on a fake platform.
#include "OnlineRig.h"
#include "Program.h"

#include <QDir>
#include <QRegularExpression>

namespace tonara::test {

namespace {

QString uploaderCommand(const TestEnvironment& env) { return "cmd /c \"" + env.companionFolder("ftpSend.exe") + '"'; }

// Runs body, which ends in the error window; the user leaves it at once.
void leaveTheErrorWindow(OnlineRig& rig, const std::function<void()>& body) {
    rig.env.fake.at(0, [&] { rig.main.errorLeft = true; });
    EXPECT_THROW(body(), ProgramEnded);
}

} // namespace

TEST(SendData, WithConsentHandsTheActivityLogToTheUploader) {
    OnlineRig rig;
    rig.main.vars.snd = 1;
    Program(rig.main).PrintFile("> something");
    Program(rig.main).SendData();

    const QStringList handOver = rig.handOver();
    ASSERT_EQ(handOver.size(), 2);
    EXPECT_EQ(handOver[0], rig.env.temp("userdata.txt"));
    const QRegularExpressionMatch name = QRegularExpression("^([1-9][0-9]*)\\.txt$").match(handOver[1]);
    ASSERT_TRUE(name.hasMatch()) << handOver[1].toStdString();
    const int number = name.captured(1).toInt();
    const QDateTime now = rig.env.fake.now();
    EXPECT_LE(number, now.time().second() * now.time().hour() * now.date().day() + 1);

    ASSERT_EQ(rig.env.fake.count("start"), 1);
    EXPECT_EQ(rig.env.fake.last("start")->text, uploaderCommand(rig.env));
    EXPECT_TRUE(rig.env.fake.last("start")->hidden) << "hidden";
}

TEST(SendData, AtAQuarterPastMidnightTheNameIsOne) {
    OnlineRig rig;
    rig.env.fake.startTime = QDateTime(QDate(2026, 3, 31), QTime(0, 15, 30));
    rig.main.vars.snd = 1;
    Program(rig.main).PrintFile("> something");
    Program(rig.main).SendData();
    EXPECT_EQ(rig.handOver().value(1), "1.txt");
}

TEST(SendData, WithoutConsentOrWithoutALogNothingIsWrittenOrStarted) {
    for (const bool consent : {false, true}) {
        OnlineRig rig;
        rig.main.vars.snd = consent ? 1 : 0;
        if (!consent) Program(rig.main).PrintFile("> something");
        Program(rig.main).SendData();
        EXPECT_FALSE(QFile::exists(rig.env.temp("snd.ini"))) << consent;
        EXPECT_EQ(rig.env.fake.count("start"), 0) << consent;
    }
}

TEST(SendData, AHandOverThatCannotBeWrittenIsReportedAs1025) {
    OnlineRig rig;
    rig.main.vars.snd = 1;
    Program(rig.main).PrintFile("> something");
    QDir(rig.env.temp()).mkdir("snd.ini");
    leaveTheErrorWindow(rig, [&] { Program(rig.main).SendData(); });
    EXPECT_TRUE(fileLines(rig.env.temp("error.log")).value(0).endsWith("Error value:  1025"));
}

TEST(SendData, NewFileAndTerminateSendWithConsent) {
    for (const bool terminate : {false, true}) {
        OnlineRig rig;
        rig.main.vars.snd = 1;
        Program(rig.main).PrintFile("> something");
        if (terminate) Program(rig.main).Terminate();
        else Program(rig.main).NewFile();
        EXPECT_TRUE(rig.handOver().value(1).endsWith(".txt")) << terminate;
        EXPECT_EQ(rig.env.fake.count("start"), 1) << terminate;
    }
}

TEST(ErrorReportUpload, WithConsentTheBareErrorLogNameIsHandedOver) {
    for (const bool consent : {false, true}) {
        OnlineRig rig;
        rig.main.vars.snd = consent ? 1 : 0;
        leaveTheErrorWindow(rig, [&] { Program(rig.main).ErrorNote(14, RuntimeError(53)); });
        if (consent) {
            const QStringList handOver = rig.handOver();
            ASSERT_EQ(handOver.size(), 2);
            EXPECT_EQ(handOver[0], "error.log");
            EXPECT_TRUE(QRegularExpression("^[1-9][0-9]*error\\.log$").match(handOver[1]).hasMatch())
                << handOver[1].toStdString();
            EXPECT_EQ(rig.env.fake.count("start"), 1);
        } else {
            EXPECT_FALSE(QFile::exists(rig.env.temp("snd.ini")));
            EXPECT_EQ(rig.env.fake.count("start"), 0);
        }
        EXPECT_EQ(fileLines(rig.env.temp("error.log")).size(), 4);
    }
}

TEST(ErrorReportUpload, AFailedHandOverDoesNotReportAgain) {
    OnlineRig rig;
    rig.main.vars.snd = 1;
    QDir(rig.env.temp()).mkdir("snd.ini");
    leaveTheErrorWindow(rig, [&] { Program(rig.main).ErrorNote(14, RuntimeError(53)); });
    EXPECT_EQ(rig.main.errorLines.size(), 4) << "one report, in the window";
    EXPECT_EQ(fileLines(rig.env.temp("error.log")).value(0), "Error number:  53,   Error value:  14");
}

} // namespace tonara::test
