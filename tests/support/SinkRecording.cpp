#include "SinkRecording.h"
#include "AudioOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>

namespace tonara::test {

namespace {

// PipeWire's longest graph cycle, in frames.
constexpr qint64 kLongestCycleFrames = 2048;

} // namespace

int sinkRate() {
    const int rate = qEnvironmentVariableIntValue("SOUND_RATE");
    return rate > 0 ? rate : 48000;
}

std::string underrunsReported(const QByteArray& standardError) {
    std::string lines;
    for (const QByteArray& line : standardError.split('\n'))
        if (line.contains("the sound output ran dry")) lines += line.toStdString() + "\n";
    return lines;
}

bool soundServerReachable() {
    if (!qEnvironmentVariableIsEmpty("SOUND_SERVER_PID")) return true;
    QProcess pactl;
    pactl.start("pactl", {"info"});
    return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

SinkRecorder::~SinkRecorder() {
    if (recorder_.state() != QProcess::NotRunning) {
        recorder_.kill();
        recorder_.waitForFinished(2000);
    }
}

bool SinkRecorder::start(QString& why, int latencyMs) {
    const QString sink = qEnvironmentVariableIsEmpty("SOUND_SINK") ? "tonara_out" : qEnvironmentVariable("SOUND_SINK");
    // A buffering set in the environment (a user's PULSE_LATENCY_MSEC) would
    // win over --latency-msec and make parec deliver in long blocks.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("PULSE_LATENCY_MSEC");
    recorder_.setProcessEnvironment(environment);
    lateChangesBefore_ = AudioOutput::instance().lateChanges();
    rewoundChangesBefore_ = AudioOutput::instance().rewoundChanges();
    recorder_.start("parec", {"--latency-msec=" + QString::number(latencyMs), "-d", sink + ".monitor", "--format=s16le",
                              "--rate=" + QString::number(kSinkRate), "--channels=2", "--raw"});
    if (!recorder_.waitForStarted(5000)) {
        why = "parec did not start: " + recorder_.errorString();
        return false;
    }
    // The monitor may take a second or two to deliver its first block.
    QElapsedTimer waited;
    waited.start();
    while (frames() == 0 && waited.elapsed() < 5000 && recorder_.state() != QProcess::NotRunning) pollFor(50);
    if (recorder_.state() == QProcess::NotRunning) {
        why = "parec ended: " + QString::fromLocal8Bit(recorder_.readAllStandardError());
        return false;
    }
    if (frames() == 0) {
        why = "parec delivered nothing in five seconds";
        return false;
    }
    keepRecording(300);
    rideOutAMissAtTheStart();
    return true;
}

// parec joining PipeWire's graph now and then makes it miss a cycle, and
// the daemon then keeps quiet about any other for its log interval: the
// recording goes on past that, so that what a test records is judged by
// the misses the daemon would log, not skipped for the recorder's own start.
void SinkRecorder::rideOutAMissAtTheStart() {
    if (originNs_ < 0) return;
    const std::optional<MissedCycle> miss = outputMissSince(originNs_);
    if (!miss) return;
    // On the log's own clock: a later miss would be logged from then on.
    const qint64 loggedAgainRawNs = miss->rawNs + kMissLogIntervalNs + kLongestCycleFrames * 1000000000 / kSinkRate;
    if (const qint64 leftMs = (loggedAgainRawNs - monotonicRawNs()) / 1000000 + 1; leftMs > 0) keepRecording(int(leftMs));
    // The recorder lost the cycle it missed, which moved every later frame
    // against the clock: frame 0's moment is found again from what arrives
    // now, and what came before is not judged.
    originNs_ = -1;
    keepRecording(300);
    judgedFromFrame_ = position();
}

std::optional<MissedCycle> SinkRecorder::outputMissSince(qint64 steadyNs) const {
    return pipeWireMissSince(steadyNs - (clockNs() - monotonicRawNs()), Graph::Output);
}

qint64 SinkRecorder::clockNs() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 SinkRecorder::frames() {
    while (recorder_.waitForReadyRead(0)) {
    }
    const QByteArray arrived = recorder_.readAllStandardOutput();
    received_ += arrived;
    const qint64 all = drainedFrames_ + received_.size() / 4;
    if (!arrived.isEmpty()) {
        // The last frame received has been played by now: frame 0 was played
        // at least that long ago. The least delayed delivery tells it best.
        const qint64 origin = clockNs() - all * 1000000000 / kSinkRate;
        if (originNs_ < 0 || origin < originNs_) originNs_ = origin;
    }
    return all;
}

qint64 SinkRecorder::position() {
    const qint64 received = frames();
    if (originNs_ < 0) return received;
    return std::max(received, (clockNs() - originNs_) * kSinkRate / 1000000000);
}

void SinkRecorder::pollFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        frames();
        QThread::msleep(5);
    }
}

void SinkRecorder::keepRecording(int ms) {
    const qint64 until = position() + framesOf(ms);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms ||
           (frames() < until && timer.elapsed() < ms + kCatchUpMs && recorder_.state() != QProcess::NotRunning)) {
        QCoreApplication::processEvents();
        frames();
        QThread::msleep(5);
    }
}

bool SinkRecorder::waitForSound(int threshold, int ms) {
    const qint64 until = position() + framesOf(ms);
    QElapsedTimer timer;
    timer.start();
    for (qint64 scanned = drainedFrames_;; keepRecording(20)) {
        const std::vector<std::int16_t> part = samples(scanned);
        for (const std::int16_t sample : part)
            if (std::abs(int(sample)) >= threshold) return true;
        scanned = std::max(scanned, drainedFrames_) + qint64(part.size());
        if (scanned >= until || timer.elapsed() >= ms + kCatchUpMs || recorder_.state() == QProcess::NotRunning)
            return false;
    }
}

std::vector<std::int16_t> SinkRecorder::stop() {
    frames();
    recorder_.kill();
    recorder_.waitForFinished(2000);
    return samples();
}

std::vector<std::int16_t> SinkRecorder::drain() {
    std::vector<std::int16_t> left = samples();
    drainedFrames_ += qint64(left.size());
    received_.remove(0, qsizetype(left.size()) * 4);
    return left;
}

std::string SinkRecorder::serverFellBehind(qint64 from) {
    if (const long late = AudioOutput::instance().lateChanges() - lateChangesBefore_; late > 0)
        return "the sound server took " + std::to_string(late) +
               " change(s) of the output after they were due to sound (the output's own line above says how late): "
               "a stop or change may be heard cut, as on any server that busy";
    if (const long rewound = AudioOutput::instance().rewoundChanges() - rewoundChangesBefore_; rewound > 0)
        return "PulseAudio rewound its sink for " + std::to_string(rewound) +
               " change(s) of the output that it took late; its monitor cannot show what a listener hears then";
    if (originNs_ < 0) return {};
    const qint64 monoMinusRawNs = clockNs() - monotonicRawNs();
    // The frame may lie in the cycle that a miss seen just after it spoiled.
    from = std::max(from, judgedFromFrame_);
    const std::optional<MissedCycle> miss = outputMissSince(originNs_ + (from - kLongestCycleFrames) * 1000000000 / kSinkRate);
    if (!miss) return {};
    return "PipeWire missed a cycle of its graph at " + std::to_string(double(miss->rawNs + monoMinusRawNs - originNs_) / 1e9) +
           " s of the recording (and logs no other for " + std::to_string(kMissLogIntervalNs / 1000000000) +
           " s, so more may follow unseen), which cuts or delays every stream there by " +
           (miss->quantum > 0 ? std::to_string(msOf(miss->quantum)) + " ms" : std::string("a cycle or more")) +
           ", a peer's too; its log: " + miss->line;
}

std::vector<std::int16_t> SinkRecorder::samples(qint64 from, int channel) {
    const qint64 all = frames();
    const qint64 first = std::clamp(from, drainedFrames_, all) - drainedFrames_; // a frame kept in received_
    std::vector<std::int16_t> left(size_t(all - drainedFrames_ - first));
    const auto* bytes = reinterpret_cast<const unsigned char*>(received_.constData()) + 4 * first + 2 * channel;
    for (size_t i = 0; i < left.size(); ++i) left[i] = std::int16_t(bytes[4 * i] | bytes[4 * i + 1] << 8);
    return left;
}

ToneSpan findTone(const std::vector<std::int16_t>& samples, int threshold, qint64 from, qint64 to) {
    ToneSpan span;
    const qint64 end = to < 0 ? qint64(samples.size()) : std::min<qint64>(to, samples.size());
    for (qint64 i = std::max<qint64>(0, from); i < end; ++i) {
        if (std::abs(int(samples[size_t(i)])) < threshold) continue;
        if (span.onset < 0) span.onset = i;
        span.offset = i;
    }
    return span;
}

double measuredHz(const std::vector<std::int16_t>& samples, qint64 from, qint64 to) {
    double first = -1, last = -1;
    int crossings = 0;
    for (qint64 i = std::max<qint64>(1, from); i < std::min<qint64>(to, samples.size()); ++i) {
        const double a = samples[size_t(i - 1)], b = samples[size_t(i)];
        if (a < 0 && b >= 0) {
            const double at = double(i - 1) + a / (a - b);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * double(kSinkRate) / (last - first) : 0.0;
}

double amplitudeAt(const std::vector<std::int16_t>& samples, qint64 from, qint64 to, double hz) {
    to = std::min<qint64>(to, qint64(samples.size()));
    const double periods = std::floor(double(to - from) * hz / kSinkRate);
    const qint64 n = qint64(std::llround(periods * kSinkRate / hz));
    if (from < 0 || n <= 0) return 0;
    std::complex<double> sum;
    for (qint64 k = 0; k < n; ++k)
        sum += double(samples[size_t(from + k)]) * std::polar(1.0, -2 * std::numbers::pi * hz * double(k) / kSinkRate);
    return 2.0 * std::abs(sum) / double(n);
}

std::vector<double> samplesBetween(const std::vector<std::int16_t>& samples, qint64 from, qint64 to) {
    std::vector<double> part;
    for (qint64 i = std::max<qint64>(0, from); i < std::min<qint64>(to, samples.size()); ++i)
        part.push_back(samples[size_t(i)]);
    return part;
}

int peakBetween(const std::vector<std::int16_t>& samples, qint64 from, qint64 to) {
    int peak = 0;
    for (qint64 i = std::max<qint64>(0, from); i < std::min<qint64>(to, samples.size()); ++i)
        peak = std::max(peak, std::abs(int(samples[size_t(i)])));
    return peak;
}

} // namespace tonara::test

namespace tonara::test {

// Each step of the program's sweeps starts at phase 0, so its onset is an
// upward crossing.
std::vector<SweepStep> sweepSteps(const std::vector<std::int16_t>& samples, qint64 from, int stepHz) {
    std::vector<double> crossings;
    for (qint64 i = std::max<qint64>(from, 1); i < qint64(samples.size()); ++i) {
        const double a = samples[size_t(i - 1)], b = samples[size_t(i)];
        if (a < 0 && b >= 0) crossings.push_back(double(i - 1) + a / (a - b));
    }
    std::vector<SweepStep> steps;
    int runPitch = 0, runLength = 0;
    for (size_t i = 1; i < crossings.size(); ++i) {
        const double hz = kSinkRate / (crossings[i] - crossings[i - 1]);
        const int pitch = stepHz * int(std::lround(hz / stepHz));
        const bool steady = pitch > 0 && std::abs(hz - pitch) < 0.02 * pitch;
        if (steady && pitch == runPitch) {
            if (++runLength == 3) steps.back().pitch = pitch;
            continue;
        }
        runPitch = steady ? pitch : 0;
        runLength = steady ? 1 : 0;
        if (steady) {
            if (!steps.empty() && steps.back().pitch == 0) steps.pop_back();
            steps.push_back({0, crossings[i - 1]});
        }
    }
    if (!steps.empty() && steps.back().pitch == 0) steps.pop_back();
    return steps;
}

QString writePeerTone(const QString& path) {
    QProcess sox;
    sox.start("sox", {"-q", "-n", "-r", QString::number(kSinkRate), "-c", "2", "-b", "16", path, "synth", "1", "sine",
                      "1000", "vol", "0.9155"});
    sox.waitForFinished(10000);
    return path;
}

} // namespace tonara::test
