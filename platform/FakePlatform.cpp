#include "FakePlatform.h"
#include "AudioCapture.h"
#include "RuntimeError.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <unistd.h>

namespace tonara {

namespace {

class FakeToneStream : public ToneStream {
public:
    FakeToneStream(FakePlatform& owner, QString path) : owner_(owner), path_(std::move(path)) {}
    void play(bool loop) override { add("stream-play", loop); }
    void stop() override { add("stream-stop", false); }
    void setVolume(double) override {}
    void setFrequency(int samplesPerSecond) override { add("stream-frequency", false, samplesPerSecond); }

private:
    void add(const char* kind, bool flag, int value = 0) {
        PlatformRecord r;
        r.atMs = owner_.clockMs;
        r.kind = kind;
        r.text = path_;
        r.flag = flag;
        r.pitch = value;
        owner_.records.push_back(r);
    }
    FakePlatform& owner_;
    QString path_;
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
    void add(const char* kind) {
        PlatformRecord r;
        r.atMs = owner_.clockMs;
        r.kind = kind;
        owner_.records.push_back(r);
    }
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

void FakePlatform::processEvents() {
    while (!schedule_.empty() && schedule_.begin()->first <= clockMs) {
        auto action = std::move(schedule_.begin()->second);
        schedule_.erase(schedule_.begin());
        action();
    }
    if (onProcessEvents) onProcessEvents();
    if (pumpQtEvents && QCoreApplication::instance()) QCoreApplication::processEvents();
}

void FakePlatform::endProgram(int exitCode) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "end";
    r.durationMs = exitCode;
    records.push_back(r);
    if (exitForReal) {
        std::fflush(nullptr);
        ::_exit(exitCode);
    }
    throw ProgramEnded{exitCode};
}

void FakePlatform::playWav(const QString& path, bool loop) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "play";
    r.text = path;
    r.flag = loop;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) r.data = f.readAll();
    records.push_back(r);
}

void FakePlatform::playWavFor(const QString& path, int durationMs) {
    playWav(path, true);
    records.back().durationMs = durationMs;
}

void FakePlatform::silenceWav() {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "silence";
    records.push_back(r);
}

void FakePlatform::beep(int pitch, int durationMs) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "beep";
    r.pitch = pitch;
    r.durationMs = durationMs;
    records.push_back(r);
    delay(durationMs);
}

std::unique_ptr<ToneStream> FakePlatform::openToneStream(const QString& wavPath) {
    if (!noToneStreamReason.isEmpty()) throw RuntimeError(err::DeviceUnavailable, noToneStreamReason);
    if (!QFile::exists(wavPath)) raise(err::FileNotFound);
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "stream-open";
    r.text = wavPath;
    QFile f(wavPath);
    if (f.open(QIODevice::ReadOnly)) r.data = f.readAll();
    records.push_back(r);
    return std::make_unique<FakeToneStream>(*this, wavPath);
}

std::unique_ptr<CaptureDevice> FakePlatform::openCapture(const QString& device, const CaptureFormat& format,
                                                         CaptureReceiver& receiver) {
    if (!noCaptureReason.isEmpty()) throw RuntimeError(err::DeviceUnavailable, noCaptureReason);
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "capture-open";
    r.text = device;
    r.title = QString("%1 Hz %2 bits %3 channels").arg(format.samplesPerSecond).arg(format.bitsPerSample).arg(format.channels);
    records.push_back(r);
    if (realMicrophone) return openSdlCapture(device, format, receiver);
    return std::make_unique<FakeCaptureDevice>(*this, receiver);
}

bool FakePlatform::feedCapture(const QByteArray& bytes) {
    CaptureReceiver* receiver = startedCapture.load();
    if (!receiver) return false;
    receiver->captured(reinterpret_cast<const std::uint8_t*>(bytes.constData()), int(bytes.size()));
    return true;
}

int FakePlatform::messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "message";
    r.text = text;
    r.title = title;
    r.icon = icon;
    r.flag = buttons == MessageButtons::YesNo;
    records.push_back(r);
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::YesNo ? kAnswerNo : kAnswerOk;
}

QString FakePlatform::openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "open-dialog";
    r.text = title;
    r.title = filter;
    r.data = defaultSuffix.toUtf8();
    records.push_back(r);
    if (chosenFiles.empty()) return {};
    QString chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
}

QString FakePlatform::saveFileName(const QString& filter, const QString& fileName) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "save-dialog";
    r.text = filter;
    r.title = fileName;
    records.push_back(r);
    if (savedNames.empty()) return {};
    const QString chosen = savedNames.front();
    savedNames.pop_front();
    return chosen;
}

void FakePlatform::startProgram(const QString& command, bool hidden) {
    const ShellCommand sc = parseShellCommand(command);
    if (!sc.viaCommandProcessor && missingPrograms.contains(sc.program)) raise(err::FileNotFound);
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "start";
    r.text = command;
    r.flag = hidden;
    records.push_back(r);
}

void FakePlatform::openUrl(const QString& address) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "url";
    r.text = address;
    records.push_back(r);
}

std::optional<QByteArray> FakePlatform::download(const QString& address) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "download";
    r.text = address;
    records.push_back(r);
    const auto it = webFiles.find(address);
    if (it == webFiles.end()) return std::nullopt;
    return it->second;
}

QString FakePlatform::upload(const QByteArray& data, const QString& address) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "upload";
    r.text = address;
    r.data = data;
    records.push_back(r);
    return uploadRefusal;
}

bool FakePlatform::startVolumeControl() {
    if (!volumeControlInstalled) return false;
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "volume-control";
    records.push_back(r);
    return true;
}

bool FakePlatform::terminateProcess(qint64 pid) {
    PlatformRecord r;
    r.atMs = clockMs;
    r.kind = "terminate";
    r.pitch = int(pid);
    records.push_back(r);
    std::erase_if(processList, [pid](const ProcessEntry& e) { return e.pid == pid; });
    return true;
}

} // namespace tonara
