#pragma once
// Recording what reaches the test sound server's output, and finding a
// tone in it.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <vector>

namespace tonara::test {

constexpr int kSinkRate = 96000;

// A sound server that the tests may use: the private one of the test run,
// or any that answers.
bool soundServerReachable();

// Records the sink's monitor as 16-bit stereo at kSinkRate.
class SinkRecorder {
public:
    ~SinkRecorder();
    // Starts the recorder and gives it a second to connect; false with the reason when it cannot.
    bool start(QString& why);
    // Frames received so far.
    qint64 frames();
    // Keeps receiving for ms, letting events run.
    void keepRecording(int ms);
    // Keeps receiving until a frame at or above threshold has arrived, at most
    // ms; false when none did.
    bool waitForSound(int threshold, int ms);
    // Ends the recording; the left channel.
    std::vector<std::int16_t> stop();

private:
    QProcess recorder_;
    QByteArray received_;
};

struct ToneSpan {
    qint64 onset = -1;  // first frame at or above the threshold
    qint64 offset = -1; // last such frame
    bool found() const { return onset >= 0; }
    double ms() const { return (offset - onset) * 1000.0 / kSinkRate; }
};

ToneSpan findTone(const std::vector<std::int16_t>& samples, int threshold, qint64 from = 0, qint64 to = -1);
// Frequency from the upward zero crossings between from and to, each placed between its two samples.
double measuredHz(const std::vector<std::int16_t>& samples, qint64 from, qint64 to);
int peakBetween(const std::vector<std::int16_t>& samples, qint64 from, qint64 to);
inline qint64 framesOf(double ms) { return qint64(ms * kSinkRate / 1000.0); }
inline double msOf(qint64 frames) { return frames * 1000.0 / kSinkRate; }

} // namespace tonara::test
