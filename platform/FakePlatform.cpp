#include "FakePlatform.h"
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
