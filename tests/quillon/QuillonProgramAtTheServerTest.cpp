// Quillon.dll run for real: what its hand-over makes it do, and the main
// window's Hearing age with Play starting it.
#include "AppRig.h"
#include "RealProcesses.h"

#include <QFile>
#include <QThread>
#include <algorithm>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

QString quillonProgram() { return programsFolder() + "/Quillon.dll"; }

std::vector<qint64> runningQuillons() {
    std::vector<qint64> pids;
    for (const ProcessEntry& entry : realPlatform().processes({}))
        if (entry.imageName == quillonProgram()) pids.push_back(entry.pid);
    return pids;
}

// Quillons that were not running when it was made are ended with it.
class EndsNewQuillons {
public:
    EndsNewQuillons() : before_(runningQuillons()) {}
    ~EndsNewQuillons() {
        for (qint64 pid : started()) realPlatform().terminateProcess(pid);
    }
    std::vector<qint64> started() const {
        std::vector<qint64> now = runningQuillons();
        std::erase_if(now, [this](qint64 pid) { return std::ranges::find(before_, pid) != before_.end(); });
        return now;
    }

private:
    std::vector<qint64> before_;
};

} // namespace

TEST(QuillonProgram, ModeSixtyFourEndsItAtOnceAndTheHandOverIsGone) {
    RealProcessEnvironment env;
    writeBytes(env.temp("quillon.ini"), "64\r\nen\r\n");
    QProcess& quillon = env.start(quillonProgram());
    ASSERT_TRUE(quillon.waitForFinished(30000));
    EXPECT_EQ(quillon.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(quillon.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(env.temp("quillon.ini")));
}

TEST(QuillonProgram, WithoutAHandOverItWaitsAtTheVolumeWindow) {
    RealProcessEnvironment env;
    QProcess& quillon = env.start(quillonProgram());
    EXPECT_FALSE(quillon.waitForFinished(2000)) << "exit code " << quillon.exitCode() << ": "
                                                << quillon.readAllStandardError().toStdString();
    EXPECT_EQ(quillon.state(), QProcess::Running);
}

TEST(HearingAgeFromTheMainWindow, PlayStartsQuillonWhichTakesTheHandOver) {
    AppRig rig;
    rig.writeSettings(validSettings("128", "NL"));
    rig.form->start();
    rig.form->setChecked(form1::Option9, true);

    EndsNewQuillons started;
    BuiltProgramsPlatform real;
    setPlatform(&real);
    rig.form->playClicked();
    setPlatform(&rig.env.fake);

    EXPECT_TRUE(waitUntil([&] { return !started.started().empty(); }, 30000)) << "Quillon did not start";
    EXPECT_TRUE(waitUntil([&] { return !QFile::exists(rig.env.temp("quillon.ini")); }, 30000))
        << "the hand-over was not taken";
    // Dutch and the player are what it serves: it stays.
    QThread::msleep(500);
    EXPECT_EQ(started.started().size(), 1u);
}

} // namespace tonara::test
