#pragma once
// Recording what reaches the test sound server's output, and finding a
// tone in it.

#include "MissedCycles.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace tonara::test {

// The test sink's rate: SOUND_RATE, set by tests/sound-server.sh (48 kHz
// when unset).
int sinkRate();
inline const int kSinkRate = sinkRate();

// A sound server that the tests may use: the private one of the test run,
// or any that answers.
bool soundServerReachable();
// Why a test that needs one is skipped.
constexpr const char* kNoSoundServer = "no sound server: SOUND_SERVER_PID is unset and pactl info fails "
                                       "(./test.sh or tests/sound-server.sh provide one)";

// Writes a one-second 1000 Hz tone at the sink's rate and our level (30000)
// to path with sox, for paplay beside us; returns path.
QString writePeerTone(const QString& path);

// The lines in which a program of ours reported that the sound server ran
// out of its sound (an underrun), from what it wrote to standard error.
std::string underrunsReported(const QByteArray& standardError);

// A figure in the test output, for the record.
inline void report(const std::string& what, double value, const char* unit) {
    std::cout << "[ measured ] " << what << ": " << value << " " << unit << std::endl;
}

// Records the sink's monitor as 16-bit stereo at the sink's own rate, so
// the server does not resample what is measured.
//
// What has been received lags behind the sink, by more than a second when
// the machine is busy, so the count received is no mark of the moment:
// position() is. The sink plays by the clock, so the recording's frame for
// a moment follows from the clock and the least delayed delivery seen.
class SinkRecorder {
public:
    ~SinkRecorder();
    // Short, so that what the sink plays arrives soon, but not below PipeWire's
    // shortest safe cycle (a power of two of at least 10 ms, as the output's):
    // a recorder asking for less shortens the whole graph's cycle, and a busy
    // machine then misses a cycle's deadline now and then.
    static constexpr int kShortLatencyMs = 12;
    // Long enough that PipeWire's cycle is the one our output's stream asks
    // for, as on a desktop where it plays alone.
    static constexpr int kLongLatencyMs = 100;
    // Why a test with a long-latency recorder is skipped at PulseAudio: that
    // server rewinds its sink for a change, and what the monitor has already
    // handed the recorder is not taken back, so it shows a splice no listener hears.
    static constexpr const char* kRewindsUnseenAtPulseAudio =
        "PulseAudio rewinds its sink; its monitor cannot show what a listener hears here";
    // Starts the recorder and gives it a second to connect; false with the reason when it cannot.
    bool start(QString& why, int latencyMs = kShortLatencyMs);
    // Frames received so far.
    qint64 frames();
    // The frame of the recording that the sink plays at this moment, to
    // within the least delivery delay seen (milliseconds): the mark for
    // "now". Frames received so far before anything has arrived.
    qint64 position();
    // Keeps receiving, letting events run, for ms and until everything the
    // sink played up to ms from now has arrived (a lagging recorder is
    // waited for, at most kCatchUpMs more).
    void keepRecording(int ms);
    static constexpr int kCatchUpMs = 10000;
    // The left channel (or channel 1, the right) received so far (since the
    // last drain), from a frame on.
    std::vector<std::int16_t> samples(qint64 from = 0, int channel = 0);
    // Keeps receiving until a frame at or above threshold has arrived, at most
    // until what the sink played in the next ms has arrived; false when none did.
    bool waitForSound(int threshold, int ms);
    // Ends the recording; the left channel.
    std::vector<std::int16_t> stop();
    // The left channel received since the last drain, which the recorder
    // then forgets: for recordings too long to keep.
    std::vector<std::int16_t> drain();
    // Why the server spoiled the recording, empty when it did not: our
    // output reported a change the server took too late (at either server,
    // since the recording began), or PipeWire's log shows that its output's
    // graph may have missed a cycle since frame from of the recording played
    // (MissedCycles.h).
    std::string serverFellBehind(qint64 from = 0);

private:
    // Lets events run and receives for ms.
    void pollFor(int ms);
    void rideOutAMissAtTheStart();
    // PipeWire's logged miss of the output's graph that may stand for one at
    // or after that moment of the steady clock (MissedCycles.h).
    std::optional<MissedCycle> outputMissSince(qint64 steadyNs) const;

    QProcess recorder_;
    QByteArray received_;
    qint64 drainedFrames_ = 0;
    long lateChangesBefore_ = 0;
    long rewoundChangesBefore_ = 0;
    // Nanoseconds of the steady clock at which the sink played frame 0 of
    // the recording, as late as the deliveries allow; none yet when negative.
    qint64 originNs_ = -1;
    // Where the server's misses start to count: past a miss at the start.
    qint64 judgedFromFrame_ = 0;
    qint64 clockNs() const;
};

struct ToneSpan {
    qint64 onset = -1;  // first frame at or above the threshold
    qint64 offset = -1; // last such frame
    bool found() const { return onset >= 0; }
    double ms() const { return double(offset - onset) * 1000.0 / kSinkRate; }
};

ToneSpan findTone(const std::vector<std::int16_t>& samples, int threshold, qint64 from = 0, qint64 to = -1);
// Frequency from the upward zero crossings between from and to, each placed between its two samples.
double measuredHz(const std::vector<std::int16_t>& samples, qint64 from, qint64 to);
int peakBetween(const std::vector<std::int16_t>& samples, qint64 from, qint64 to);
// The peak amplitude of the component at hz between from and to, over the
// largest whole number of its periods (a single-bin Fourier sum).
double amplitudeAt(const std::vector<std::int16_t>& samples, qint64 from, qint64 to, double hz);
std::vector<double> samplesBetween(const std::vector<std::int16_t>& samples, qint64 from, qint64 to);
struct SweepStep {
    int pitch = 0;
    double onset = 0; // frame of the first upward zero crossing heard at that pitch
};
// The steps of a recorded sweep: runs of at least three whole periods at one
// multiple of stepHz, in order.
std::vector<SweepStep> sweepSteps(const std::vector<std::int16_t>& samples, qint64 from, int stepHz);

// A recording in which the server fell behind (missed a cycle, or took a
// change of ours late) is not judged: the test is skipped with the record of it. From a frame on where only
// the sound is judged; from the start where a moment marked by position()
// is compared with what was recorded (the recorder's own loss at a miss
// moves every later frame against the clock).
#define SKIP_WHERE_THE_SERVER_FELL_BEHIND(recorder, ...)                                      \
    if (const std::string missed = (recorder).serverFellBehind(__VA_ARGS__); !missed.empty()) \
    GTEST_SKIP() << missed

inline qint64 framesOf(double ms) { return qint64(ms * kSinkRate / 1000.0); }
inline double msOf(qint64 frames) { return double(frames) * 1000.0 / kSinkRate; }

} // namespace tonara::test
