// Tones of the tone programs end with the program that asked for them:
// through its shut-down on a termination signal, by themselves when it is
// killed. What reaches the sink is recorded.
#include "AtTheSink.h"
#include "ExternalTone.h"
#include "Platform.h"
#include "RealProcesses.h"
#include "ToneOwner.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace tonara::test {

namespace {

constexpr int kToneThreshold = 10000;
constexpr double kSilentWithinMs = 1000;

class ToneOwnerAtTheSink : public AtTheSink {
protected:
    void startRecording() {
        recorder = std::make_unique<SinkRecorder>();
        QString why;
        ASSERT_TRUE(recorder->start(why)) << why.toStdString();
    }

    // Records until the owner's end has had a second to silence everything;
    // returns how long after the end the last loud frame came.
    double msToSilence(const std::function<void()>& endTheOwner, const std::string& what) {
        const qint64 endedAt = recorder->position();
        endTheOwner();
        recorder->keepRecording(1300);
        const std::vector<std::int16_t> samples = recorder->stop();
        const ToneSpan tone = findTone(samples, kToneThreshold);
        EXPECT_TRUE(tone.found()) << what << ": nothing sounded";
        EXPECT_LT(tone.onset, endedAt) << what << ": it sounded before the owner ended";
        const double ms = msOf(tone.offset - endedAt);
        report(what + ", last loud frame after the owner's end", ms, "ms");
        return ms;
    }

    RealProcessEnvironment env;
    std::unique_ptr<SinkRecorder> recorder;
};

} // namespace

TEST(ToneOwner, StartedProgramsAreToldThatThisProcessOwnsTheirTones) {
    RealProcessEnvironment env;
    ScopedEnvironment own;
    own.set(kToneOwnerVariable, "4242"); // as in a second Tonara started by the first
    const QString script = env.temp("owner.sh");
    writeBytes(script, "#!/bin/sh\necho \"$TONARA_OWNER_PID\" > \"$(dirname \"$0\")/owner.txt\"\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    platform().startProgram('"' + script + '"', true);
    ASSERT_TRUE(waitUntil([&] { return fileBytes(env.temp("owner.txt")).endsWith('\n'); }, 5000));
    EXPECT_EQ(fileBytes(env.temp("owner.txt")), QByteArray::number(::getpid()) + '\n');
}

TEST_F(ToneOwnerAtTheSink, AToneProgramFallsSilentByItselfWhenItsOwnerEnds) {
    for (const QString& request : {pitchRequestLine(1000), sweepRequestLine()}) {
        startRecording();
        QProcess& owner = env.start("/bin/sleep", {"60"});
        writeToneRequest(request);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kToneOwnerVariable, QString::number(owner.processId()));
        QProcess tone;
        tone.setProcessEnvironment(environment);
        tone.start(programsFolder() + "/sound32.dll", QStringList());
        ASSERT_TRUE(tone.waitForStarted(5000));
        ASSERT_TRUE(recorder->waitForSound(kToneThreshold, 10000)) << "it never sounded";
        recorder->keepRecording(300);
        EXPECT_EQ(tone.state(), QProcess::Running) << "it sounds while its owner runs";

        const double ms = msToSilence([&] { owner.kill(); }, "sound32.dll for \"" + request.toStdString() + "\"");
        EXPECT_LT(ms, kSilentWithinMs);
        ASSERT_TRUE(tone.state() == QProcess::NotRunning || tone.waitForFinished(1000));
        EXPECT_EQ(tone.exitStatus(), QProcess::NormalExit) << "it ended itself, nobody killed it";
        EXPECT_EQ(tone.exitCode(), 0);
    }
}

namespace {

struct Ending {
    const char* bit;
    const char* option; // 1: Low pitch, 6: Low to high
    bool kill;          // SIGKILL, else SIGTERM
};

std::string nameOf(const Ending& e) {
    return std::string("code ") + e.bit + (std::string(e.option) == "6" ? " sweep" : " tone") +
           (e.kill ? ", SIGKILL" : ", SIGTERM");
}

} // namespace

// Tonara itself, with its tone programs, ended from outside while its tone sounds.
TEST_F(ToneOwnerAtTheSink, EndingTonaraFromOutsideLeavesNothingSounding) {
    const Ending endings[] = {{"32", "1", false}, {"32", "1", true}, {"16", "1", false},
                              {"16", "1", true},  {"32", "6", false}, {"32", "6", true}};
    const QString appData = env.temp("appdata");
    QDir().mkpath(appData);
    const QString folder = programFolderWith(env, {"tonara_autoplay", "sound32.dll", "SOUND16.DLL", "relay16.exe"});
    for (const Ending& e : endings) {
        SCOPED_TRACE(nameOf(e));
        startRecording();
        writeBytes(appData + "/tonara.ini", QByteArray("AutoUpdate=n\r\nSoundbit=") + e.bit +
                                                     "\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=n\r\n");
        const QString toneProgram = folder + (std::string(e.bit) == "32" ? "/sound32.dll" : "/SOUND16.DLL");
        env.endAtTeardown(toneProgram);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("APPDATA", appData);
        environment.insert("TONARA_AUTOPLAY_OPTION", e.option);
        QProcess tonara;
        tonara.setProcessEnvironment(environment);
        tonara.start(folder + "/tonara_autoplay", QStringList());
        ASSERT_TRUE(tonara.waitForStarted(5000));
        ASSERT_TRUE(recorder->waitForSound(kToneThreshold, 15000)) << "nothing sounded";
        ASSERT_FALSE(runningAs(toneProgram).empty()) << "something else sounded";
        recorder->keepRecording(300);

        const double ms = msToSilence([&] { e.kill ? tonara.kill() : tonara.terminate(); }, nameOf(e));
        EXPECT_LT(ms, kSilentWithinMs);
        ASSERT_TRUE(tonara.state() == QProcess::NotRunning || tonara.waitForFinished(5000));
        if (!e.kill) {
            EXPECT_EQ(tonara.exitStatus(), QProcess::NormalExit) << "the shut-down ended it";
            EXPECT_FALSE(QFile::exists(env.temp("sound.ini")));
        }
        EXPECT_TRUE(waitUntil([&] { return runningAs(toneProgram).empty(); }, 2000)) << "a tone program is left";
        QFile::remove(env.temp("sound.ini")); // what a killed Tonara leaves does not reach the next
    }
}

} // namespace tonara::test
