// Two copies of Tonara in Sound32 mode, each with its tone: a Stop in one
// ends that copy's tone program only, so the other sounds on until its own.
#include "AtTheSink.h"
#include "RealProcesses.h"

#include <QDir>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>

using namespace tonara;
using namespace tonara::test;

namespace {

constexpr double kLowHz = 1000;    // Option1, Low
constexpr double kAverageHz = 4500; // Option2, Average
// Both pitches fit a whole number of periods into a piece: no leakage between them.
constexpr int kPieceMs = 100;
// A killed tone program's stream leaves the sink within this, and a Stop reaches it.
constexpr int kSettleMs = 500;
constexpr double kHeard = 2000;  // peak amplitude of a pitch that sounds
constexpr double kSilent = 200;  // of one that does not

double amplitudeAt(const std::vector<std::int16_t>& samples, qint64 from, qint64 count, double hz) {
    std::complex<double> sum;
    const double step = 2 * std::numbers::pi * hz / kSinkRate;
    for (qint64 i = 0; i < count; ++i) sum += double(samples[from + i]) * std::polar(1.0, -step * double(i));
    return 2 * std::abs(sum) / double(count);
}

class Copy {
public:
    Copy(const QString& program, const QString& appData, const char* option) {
        QProcessEnvironment environment = ownedEnvironment();
        environment.insert("APPDATA", appData);
        environment.insert("TONARA_AUTOPLAY_OPTION", option);
        process_.setProcessEnvironment(environment);
        process_.start(program, QStringList());
    }
    ~Copy() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool started() { return process_.waitForStarted(5000); }
    void pressStop() {
        process_.write("stop\n");
        process_.waitForBytesWritten(1000);
    }
    QByteArray errors() { return process_.readAllStandardError(); }

private:
    QProcess process_;
};

} // namespace

class TwoCopies : public AtTheSink {};

TEST_F(TwoCopies, EachSoundsUntilItsOwnStop) {
    RealProcessEnvironment env;
    const QString appData = env.temp("appdata");
    QDir().mkpath(appData);
    writeBytes(appData + "/tonara.ini",
               "AutoUpdate=n\r\nSoundbit=32\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=n\r\n");
    const QString folder = programFolderWith(env, {"tonara_autoplay", "sound32.dll"});
    const QString toneProgram = folder + "/sound32.dll";
    env.endAtTeardown(toneProgram);
    SinkRecorder recorder;
    QString why;
    ASSERT_TRUE(recorder.start(why)) << why.toStdString();

    // The second starts once the first's tone program has read the shared tone request.
    Copy first(folder + "/tonara_autoplay", appData, "1");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(recorder.waitForSound(kHeard, 15000)) << "the first copy's tone never sounded";
    Copy second(folder + "/tonara_autoplay", appData, "2");
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(waitUntil([&] { return runningAs(toneProgram).size() == 2; }, 15000)) << "two tone programs";
    recorder.keepRecording(kSettleMs);

    const qint64 both = recorder.position();
    recorder.keepRecording(1000);
    const qint64 secondStopped = recorder.position();
    second.pressStop();
    recorder.keepRecording(1500);
    EXPECT_EQ(runningAs(toneProgram).size(), 1u) << "the second's Stop ended one tone program";
    const qint64 firstStopped = recorder.position();
    first.pressStop();
    recorder.keepRecording(kSettleMs + 300);
    EXPECT_TRUE(waitUntil([&] { return runningAs(toneProgram).empty(); }, 2000)) << "a tone program is left";
    const std::vector<std::int16_t> samples = recorder.stop();

    const qint64 piece = kSinkRate * kPieceMs / 1000;
    const qint64 settle = kSinkRate * kSettleMs / 1000;
    ASSERT_GE(qint64(samples.size()), firstStopped + settle + piece);
    auto check = [&](qint64 from, qint64 to, double hz, bool heard, const char* when) {
        for (qint64 at = from; at + piece <= to; at += piece) {
            const double amplitude = amplitudeAt(samples, at, piece, hz);
            if (heard) {
                EXPECT_GT(amplitude, kHeard) << hz << " Hz " << when << ", at frame " << at;
            } else {
                EXPECT_LT(amplitude, kSilent) << hz << " Hz " << when << ", at frame " << at;
            }
        }
    };
    check(both, firstStopped, kLowHz, true, "before the first copy's Stop");
    check(both, secondStopped, kAverageHz, true, "before the second copy's Stop");
    check(secondStopped + settle, firstStopped, kAverageHz, false, "after the second copy's Stop");
    check(firstStopped + settle, firstStopped + settle + piece, kLowHz, false, "after the first copy's Stop");
    for (Copy* copy : {&first, &second}) {
        const std::string underruns = underrunsReported(copy->errors());
        EXPECT_TRUE(underruns.empty()) << underruns;
    }
}
