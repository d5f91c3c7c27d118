// Two copies of Tonara in Sound32 mode, each with its tone: a Stop in one
// ends that copy's tone program only, so the other sounds on until its own.
#include "AtTheSink.h"
#include "RealProcesses.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {

namespace {

constexpr double kLowHz = 1000;    // Option1, Low
constexpr double kAverageHz = 4500; // Option2, Average
// Both pitches fit a whole number of periods into a piece: no leakage between them.
constexpr int kPieceMs = 100;
// A killed tone program's stream leaves the sink within this, and a Stop reaches it.
constexpr int kSettleMs = 500;
constexpr double kHeard = 2000;  // peak amplitude of a pitch that sounds
constexpr double kSilent = 200;  // of one that does not

class Copy {
public:
    Copy(const QString& program, const QProcessEnvironment& environment, const QStringList& arguments = {}) {
        process_.setProcessEnvironment(environment);
        process_.start(program, arguments);
    }
    ~Copy() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool started() { return process_.waitForStarted(5000); }
    bool running() { return process_.state() == QProcess::Running; }
    void pressStop() {
        process_.write("stop\n");
        process_.waitForBytesWritten(1000);
    }
    QByteArray errors() { return process_.readAllStandardError(); }

private:
    QProcess process_;
};

} // namespace

class TwoCopies : public AtTheSink {
protected:
    void SetUp() override {
        AtTheSink::SetUp();
        if (IsSkipped()) return;
        QDir().mkpath(env.temp("appdata"));
        writeBytes(env.temp("appdata/tonara.ini"),
                   "AutoUpdate=n\r\nSoundbit=32\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=n\r\n");
        folder = programFolderWith(env, {"tonara_autoplay", "sound32.dll"});
        env.endAtTeardown(toneProgram());
        QString why;
        ASSERT_TRUE(recorder.start(why)) << why.toStdString();
    }

    QString toneProgram() const { return folder + "/sound32.dll"; }
    QProcessEnvironment environment(const char* option) const {
        QProcessEnvironment environment = ownedEnvironment();
        environment.insert("APPDATA", env.temp("appdata"));
        environment.insert("TONARA_AUTOPLAY_OPTION", option);
        return environment;
    }
    // The copy with Play pressed in the mode option.
    std::unique_ptr<Copy> startCopy(const char* option) {
        auto copy = std::make_unique<Copy>(folder + "/tonara_autoplay", environment(option));
        EXPECT_TRUE(copy->started());
        return copy;
    }

    // Each piece of [from, to) holds hz, or does not; the weakest or the
    // strongest piece is reported.
    void check(qint64 from, qint64 to, double hz, bool heard, const char* when) {
        const qint64 piece = kSinkRate * kPieceMs / 1000;
        ASSERT_LE(to, qint64(samples.size()));
        double extreme = heard ? 1e9 : 0;
        for (qint64 at = from; at + piece <= to; at += piece) {
            const double amplitude = amplitudeAt(samples, at, at + piece, hz);
            extreme = heard ? std::min(extreme, amplitude) : std::max(extreme, amplitude);
            if (heard) {
                EXPECT_GT(amplitude, kHeard) << hz << " Hz " << when << ", at frame " << at;
            } else {
                EXPECT_LT(amplitude, kSilent) << hz << " Hz " << when << ", at frame " << at;
            }
        }
        report(std::to_string(int(hz)) + " Hz " + when + (heard ? ", weakest" : ", strongest") + " piece",
               extreme, "peak");
    }
    static void expectNoUnderrun(Copy& copy) {
        const std::string underruns = underrunsReported(copy.errors());
        EXPECT_TRUE(underruns.empty()) << underruns;
    }

    const qint64 settle = kSinkRate * kSettleMs / 1000;
    RealProcessEnvironment env;
    QString folder;
    SinkRecorder recorder;
    std::vector<std::int16_t> samples;
};

TEST_F(TwoCopies, EachSoundsUntilItsOwnStop) {
    // The second starts once the first's tone program has read the shared tone request.
    const auto first = startCopy("1");
    ASSERT_TRUE(recorder.waitForSound(kHeard, 15000)) << "the first copy's tone never sounded";
    const auto second = startCopy("2");
    ASSERT_TRUE(waitUntil([&] { return runningAs(toneProgram()).size() == 2; }, 15000)) << "two tone programs";
    recorder.keepRecording(kSettleMs);

    const qint64 both = recorder.position();
    recorder.keepRecording(1000);
    const qint64 secondStopped = recorder.position();
    second->pressStop();
    recorder.keepRecording(1500);
    EXPECT_EQ(runningAs(toneProgram()).size(), 1u) << "the second's Stop ended one tone program";
    const qint64 firstStopped = recorder.position();
    first->pressStop();
    recorder.keepRecording(2 * kSettleMs + 200);
    EXPECT_TRUE(waitUntil([&] { return runningAs(toneProgram()).empty(); }, 2000)) << "a tone program is left";
    samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    check(both, firstStopped, kLowHz, true, "before the first copy's Stop");
    check(both, secondStopped, kAverageHz, true, "before the second copy's Stop");
    check(secondStopped + settle, firstStopped, kAverageHz, false, "after the second copy's Stop");
    check(firstStopped + settle, firstStopped + 2 * settle, kLowHz, false, "after the first copy's Stop");
    expectNoUnderrun(*first);
    expectNoUnderrun(*second);
}

// As File, Open... does it: a second copy plays a tone file, and its player's
// load and its shut-down end tone programs.
TEST_F(TwoCopies, AnotherCopysTonePlayerLeavesTheToneSounding) {
    constexpr double kFileHz = 3000;
    writeBytes(env.temp("high.tnf"), "%valid%\n[info]\n{236}\nHigh\n{invisible}\n[sound]\n{1}\n<3000>\n\\1000\n");
    const auto first = startCopy("1");
    ASSERT_TRUE(recorder.waitForSound(kHeard, 15000)) << "the first copy's tone never sounded";
    recorder.keepRecording(kSettleMs);

    const qint64 before = recorder.position();
    Copy player(programsFolder() + "/tonara", environment("1"), {env.temp("high.tnf")});
    ASSERT_TRUE(player.started());
    env.endAtTeardown(programsFolder() + "/sound32.dll");
    ASSERT_TRUE(waitUntil([&] { return !player.running(); }, 20000)) << "the player did not end";
    recorder.keepRecording(1000);
    const qint64 playerEnded = recorder.position();
    EXPECT_EQ(runningAs(toneProgram()).size(), 1u) << "the first copy's tone program";
    const qint64 firstStopped = recorder.position();
    first->pressStop();
    recorder.keepRecording(2 * kSettleMs + 200);
    samples = recorder.stop();
    SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder);

    check(before, firstStopped, kLowHz, true, "while the other copy played its file, and after");
    const qint64 piece = kSinkRate * kPieceMs / 1000;
    double loudest = 0;
    for (qint64 at = before; at + piece <= playerEnded; at += piece)
        loudest = std::max(loudest, amplitudeAt(samples, at, at + piece, kFileHz));
    EXPECT_GT(loudest, kHeard) << "the other copy's tone file sounded too";
    check(firstStopped + settle, firstStopped + 2 * settle, kLowHz, false, "after the first copy's Stop");
    expectNoUnderrun(*first);
    expectNoUnderrun(player);
}

} // namespace tonara::test
