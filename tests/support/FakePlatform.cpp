#include "FakePlatform.h"
#include "RuntimeError.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace tonara::test {

namespace {

class FakeToneStream : public ToneStream {
public:
    FakeToneStream(FakePlatform& owner, QString path) : owner_(owner), path_(std::move(path)) {}
    void play(bool loop) override { owner_.record("stream-play", path_).looping = loop; }
    void stop() override { owner_.record("stream-stop", path_); }
    void setVolume(double) override {}
    void setFrequency(int samplesPerSecond) override { owner_.record("stream-frequency", path_).rateHz = samplesPerSecond; }

private:
    FakePlatform& owner_;
    QString path_;
};

class FakeSignalStream : public SignalStream {
public:
    explicit FakeSignalStream(FakePlatform& owner) : owner_(owner) {}
    void play(const SignalParameters& signal, double seconds) override {
        owner_.signalsPlayed.push_back(signal);
        owner_.record("signal-play", {}).durationMs = int(std::lround(seconds * 1000));
    }
    void change(const SignalParameters& signal) override {
        owner_.signalsPlayed.push_back(signal);
        owner_.record("signal-change", {});
    }
    void stop() override { owner_.record("signal-stop", {}); }

private:
    FakePlatform& owner_;
};

class FakeCaptureDevice : public CaptureDevice {
public:
    FakeCaptureDevice(FakePlatform& owner, CaptureReceiver& receiver) : owner_(owner), receiver_(receiver) {}
    ~FakeCaptureDevice() override {
        stop();
        add("capture-close");
    }
    void start() override {
        owner_.startedCapture = &receiver_;
        add("capture-start");
    }
    void stop() override {
        owner_.startedCapture = nullptr;
        add("capture-stop");
    }

private:
    void add(const char* kind) { owner_.record(kind); }
    FakePlatform& owner_;
    CaptureReceiver& receiver_;
};

} // namespace

FakePlatform::FakePlatform() : startTime(QDate(2026, 12, 8), QTime(10, 0, 0)) {}

void FakePlatform::at(qint64 atMs, std::function<void()> action) { schedule_.emplace(atMs, std::move(action)); }

std::vector<const PlatformRecord*> FakePlatform::all(const QString& kind) const {
    std::vector<const PlatformRecord*> out;
    for (const auto& r : records)
        if (r.kind == kind) out.push_back(&r);
    return out;
}

const PlatformRecord* FakePlatform::last(const QString& kind) const {
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->kind == kind) return &*it;
    return nullptr;
}

int FakePlatform::count(const QString& kind) const { return int(all(kind).size()); }

void FakePlatform::delay(int ms) {
    if (ms > 0) clockMs += ms;
}

void FakePlatform::serveEvents(int ms, const std::function<bool()>& done) {
    const qint64 end = clockMs + std::max(0, ms);
    while (!schedule_.empty() && schedule_.begin()->first <= end) {
        clockMs = std::max(clockMs, schedule_.begin()->first);
        processEvents();
        if (done && done()) return;
    }
    clockMs = end;
}

void FakePlatform::processEvents() {
    while (!schedule_.empty() && schedule_.begin()->first <= clockMs) {
        auto action = std::move(schedule_.begin()->second);
        schedule_.erase(schedule_.begin());
        action();
    }
    if (onProcessEvents) onProcessEvents();
    if (pumpQtEvents && QCoreApplication::instance()) QCoreApplication::processEvents();
}

PlatformRecord& FakePlatform::record(const char* kind, const QString& text) {
    PlatformRecord& r = records.emplace_back();
    r.atMs = clockMs;
    r.kind = kind;
    r.text = text;
    return r;
}

void FakePlatform::endProgram(int exitCode) {
    record("end").exitCode = exitCode;
    if (exitForReal) {
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    throw ProgramEnded{exitCode};
}

void FakePlatform::playWav(const QString& file, bool loop) {
    PlatformRecord& r = record("play", file);
    r.looping = loop;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) r.data = f.readAll();
}

void FakePlatform::playWavFor(const QString& file, int durationMs) {
    playWav(file, true);
    records.back().durationMs = durationMs;
    timedToneEndMs_ = clockMs + durationMs;
}

void FakePlatform::awaitTimedTone(const std::function<bool()>& servingUntil) {
    if (servingUntil) return serveEvents(int(std::max<qint64>(0, timedToneEndMs_ - clockMs)), servingUntil);
    clockMs = std::max(clockMs, timedToneEndMs_);
}

void FakePlatform::silenceWav() { record("silence"); }

void FakePlatform::beep(int pitch, int durationMs) {
    PlatformRecord& r = record("beep");
    r.pitch = pitch;
    r.durationMs = durationMs;
    delay(durationMs);
}

std::unique_ptr<SignalStream> FakePlatform::openSignalStream() {
    if (outputRateHz == 0) raise(err::DeviceUnavailable);
    return std::make_unique<FakeSignalStream>(*this);
}

std::unique_ptr<ToneStream> FakePlatform::openToneStream(const QString& wavPath) {
    if (!noToneStreamReason.isEmpty()) throw RuntimeError(err::DeviceUnavailable, noToneStreamReason);
    if (!QFile::exists(wavPath)) raise(err::FileNotFound);
    PlatformRecord& r = record("stream-open", wavPath);
    QFile f(wavPath);
    if (f.open(QIODevice::ReadOnly)) r.data = f.readAll();
    return std::make_unique<FakeToneStream>(*this, wavPath);
}

std::unique_ptr<ToneStream> FakePlatform::openSoundStream(std::shared_ptr<const PcmSound> sound) {
    if (!noToneStreamReason.isEmpty()) throw RuntimeError(err::DeviceUnavailable, noToneStreamReason);
    const QString name = "(sound)";
    record("stream-open", name);
    openedSounds.push_back(std::move(sound));
    return std::make_unique<FakeToneStream>(*this, name);
}

std::unique_ptr<CaptureDevice> FakePlatform::openCapture(const QString& device, const CaptureFormat& format,
                                                         CaptureReceiver& receiver) {
    if (!noCaptureReason.isEmpty()) throw RuntimeError(err::DeviceUnavailable, noCaptureReason);
    record("capture-open", device).format =
        QString("%1 Hz %2 bits %3 channels").arg(format.samplesPerSecond).arg(format.bitsPerSample).arg(format.channels);
    if (capturesPassedTo) return capturesPassedTo->openCapture(device, format, receiver);
    return std::make_unique<FakeCaptureDevice>(*this, receiver);
}

CaptureSources FakePlatform::captureSources() {
    record("capture-sources");
    return capturesPassedTo ? capturesPassedTo->captureSources() : captureSourceList;
}

bool FakePlatform::feedCapture(const QByteArray& bytes) {
    CaptureReceiver* receiver = startedCapture.load();
    if (!receiver) return false;
    receiver->captured(reinterpret_cast<const std::uint8_t*>(bytes.constData()), int(bytes.size()));
    return true;
}

int FakePlatform::messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) {
    PlatformRecord& r = record("message", text);
    r.title = title;
    r.icon = icon;
    r.yesNo = buttons == MessageButtons::YesNo;
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::YesNo ? kAnswerNo : kAnswerOk;
}

QString FakePlatform::openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) {
    PlatformRecord& r = record("open-dialog");
    r.title = title;
    r.filter = filter;
    r.suffix = defaultSuffix;
    if (chosenFiles.empty()) return {};
    QString chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
}

QString FakePlatform::saveFileName(const QString& filter, const QString& fileName) {
    PlatformRecord& r = record("save-dialog");
    r.filter = filter;
    r.offeredName = fileName;
    if (savedNames.empty()) return {};
    const QString chosen = savedNames.front();
    savedNames.pop_front();
    return chosen;
}

void FakePlatform::startProgram(const QString& command, bool hidden) {
    const ShellCommand sc = parseShellCommand(command);
    if (!sc.viaCommandProcessor && missingPrograms.contains(sc.program)) raise(err::FileNotFound);
    record("start", command).hidden = hidden;
}

void FakePlatform::openUrl(const QString& address) {
    record("url", address);
}

std::optional<QByteArray> FakePlatform::download(const QString& address) {
    record("download", address);
    const auto it = webFiles.find(address);
    if (it == webFiles.end()) return std::nullopt;
    return it->second;
}

QString FakePlatform::upload(const QByteArray& data, const QString& address) {
    record("upload", address).data = data;
    return uploadRefusal;
}

bool FakePlatform::startVolumeControl() {
    if (!volumeControlInstalled) return false;
    record("volume-control");
    return true;
}

bool FakePlatform::setOutputDeviceVolume(double level, bool muted) {
    if (!deviceVolume.known) return false;
    deviceVolume.level = std::clamp(level, 0.0, 1.0);
    deviceVolume.muted = muted;
    PlatformRecord& r = record("device-volume");
    r.levelPercent = int(std::lround(deviceVolume.level * 100));
    r.muted = muted;
    return true;
}

std::vector<ProcessEntry> FakePlatform::processes(const QString& nameEnding) {
    std::vector<ProcessEntry> named;
    std::copy_if(processList.begin(), processList.end(), std::back_inserter(named),
                 [&](const ProcessEntry& e) { return imageNameEndsWith(e.imageName, nameEnding); });
    return named;
}

bool FakePlatform::terminateProcess(qint64 pid) {
    record("terminate").pid = pid;
    std::erase_if(processList, [pid](const ProcessEntry& e) { return e.pid == pid; });
    return true;
}

} // namespace tonara::test
