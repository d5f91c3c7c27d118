// The substitute tone programs run for real: what reaches the sound server's
// sink while they sound, and how they end.
#include "AtTheSink.h"
#include "ExFunctions.h"
#include "ExternalTone.h"
#include "RealProcesses.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

constexpr int kToneThreshold = 10000;

QString toneProgram(const QString& name) { return programsFolder() + "/" + name; }

class ToneProgramAtTheSink : public AtTheSink {
protected:
    // Records while the tone program sounds the request for ms, then kills it
    // by name as the engine does; returns the frame at which it was killed.
    qint64 sound(SinkRecorder& recorder, const QString& program, const QString& request, int ms) {
        QString why;
        EXPECT_TRUE(recorder.start(why)) << why.toStdString();
        writeToneRequest(request);
        QProcess& child = env.start(toneProgram(program));
        recorder.keepRecording(ms);
        // A sweep makes each step's samples file anew and deletes it once loaded: only one that stays counts.
        EXPECT_TRUE(waitUntil([&] { return QDir(env.temp()).entryList(QDir::Files) == QStringList{"sound.ini"}; }, 1000))
            << "its samples file stays behind: " << QDir(env.temp()).entryList(QDir::Files).join(", ").toStdString();
        const qint64 killedAt = recorder.position();
        ExFunctions().KillProcess(toneProgramName(program == "sound32.dll" ? "32" : "16"));
        EXPECT_TRUE(child.waitForFinished(5000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        recorder.keepRecording(400);
        return killedAt;
    }

    RealProcessEnvironment env;
};

} // namespace

TEST(ToneProgram, WithoutARequestItEndsAtOnce) {
    RealProcessEnvironment env;
    for (const QString& program : QStringList{"sound32.dll", "SOUND16.DLL"}) {
        QProcess& bare = env.start(toneProgram(program));
        ASSERT_TRUE(bare.waitForFinished(5000)) << program.toStdString();
        EXPECT_EQ(bare.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(bare.exitCode(), 0);
    }
    writeToneRequest("loud");
    QProcess& unreadable = env.start(toneProgram("sound32.dll"));
    ASSERT_TRUE(unreadable.waitForFinished(5000));
    EXPECT_EQ(unreadable.exitCode(), 0);
    EXPECT_EQ(QDir(env.temp()).entryList(QDir::Files), QStringList{"sound.ini"});
}

TEST(ToneProgram, RemovesTheSamplesLeftByAToneProgramKilledWhileMakingThem) {
    RealProcessEnvironment env;
    const QString ours = QString("toneprogram-%1.wav").arg(QCoreApplication::applicationPid());
    for (const QString& name : {QString("toneprogram-999999999.wav"), ours, QString("toneprogram-x.wav")})
        writeBytes(env.temp(name), "RIFF");
    QProcess& bare = env.start(toneProgram("sound32.dll"));
    ASSERT_TRUE(bare.waitForFinished(5000));
    EXPECT_EQ(QDir(env.temp()).entryList(QDir::Files), (QStringList{ours, "toneprogram-x.wav"}))
        << "only the file of a program that no longer runs goes";
}

TEST_F(ToneProgramAtTheSink, SoundsTheRequestedPitchUntilKilled) {
    struct Case {
        QString program;
        qint32 pitch;
        double toleranceHz;
    };
    // Above 22 050 Hz the tone is made at 96 000 samples and must not fold
    // back: a sink that cannot carry it stays silent.
    for (const Case& c : {Case{"sound32.dll", 1000, 1.0}, Case{"SOUND16.DLL", 30000, 5.0}}) {
        SinkRecorder recorder;
        const qint64 killedAt = sound(recorder, c.program, pitchRequestLine(c.pitch), 2500); // a busy machine starts it slowly
        const std::vector<std::int16_t> samples = recorder.stop();
        SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);
        const ToneSpan tone = findTone(samples, kToneThreshold);
        if (2 * c.pitch >= kSinkRate) {
            EXPECT_LT(peakBetween(samples, 0, qint64(samples.size())), 300) << c.program.toStdString();
            continue;
        }
        ASSERT_TRUE(tone.found()) << c.program.toStdString();
        const qint64 middle = (tone.onset + tone.offset) / 2;
        const double hz = measuredHz(samples, middle - framesOf(400), middle + framesOf(400));
        const int peak = peakBetween(samples, tone.onset, tone.offset);
        report(c.program.toStdString() + " pitch for " + std::to_string(c.pitch) + " Hz", hz, "Hz");
        report(c.program.toStdString() + " peak", peak, "");
        report(c.program.toStdString() + " sounding", tone.ms(), "ms");
        EXPECT_NEAR(hz, c.pitch, c.toleranceHz);
        EXPECT_GT(tone.ms(), 1000.0);
        // Killing it ends the sound, within the server's buffering.
        EXPECT_LT(tone.offset, killedAt + framesOf(150));
        if (c.pitch == 1000) {
            EXPECT_NEAR(peak, 30000, 300);
        }
    }
}

TEST_F(ToneProgramAtTheSink, SweepsUpFromTheBottomForTheSweepRequest) {
    SinkRecorder recorder;
    sound(recorder, "sound32.dll", sweepRequestLine(), 2500);
    const std::vector<std::int16_t> samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    // Steps of 200 Hz from the bottom, one every 200 ms: the program keeps
    // to its clock, so a late step is followed by a short one.
    const std::vector<SweepStep> steps = sweepSteps(samples, 0, 200);
    ASSERT_GE(steps.size(), 5u) << "the sweep did not reach the sink step by step";
    for (size_t i = 0; i < steps.size(); ++i) ASSERT_EQ(steps[i].pitch, 200 * int(i + 1)) << "step " << i;
    const double periodMs = msOf(qint64(steps.back().onset - steps.front().onset)) / double(steps.size() - 1);
    report("tone program sweep step", periodMs, "ms");
    EXPECT_NEAR(periodMs, 200.0, 20.0);
}

} // namespace tonara::test
