#include "RealPlatform.h"
#include "RuntimeError.h"
#include "AudioCapture.h"
#include "AudioOutput.h"
#include "CommandLineArguments.h"
#include "FileDialogFilter.h"
#include "ProgramFolders.h"
#include "TerminationRequests.h"
#include "SaveDialog.h"
#include "SinkVolume.h"
#include "WebAddresses.h"
#include "WebTransfer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFileDialog>
#include <QStandardPaths>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

namespace tonara {

// A wait of any length (a tone of a minute, the start-up's) still hears a
// termination request at once; window events wait for the loops that run them.
void RealPlatform::delay(int ms) {
    if (ms <= 0) return;
    AudioOutput::instance().programWaits();
    sleepServingTermination(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

qint64 RealPlatform::monotonicMs() {
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed();
}

QDateTime RealPlatform::now() { return QDateTime::currentDateTime(); }

void RealPlatform::onTerminationRequest(std::function<void()> handler) { installTerminationHandler(std::move(handler)); }

void RealPlatform::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void RealPlatform::serveEvents(int ms, const std::function<bool()>& done) {
    if (ms <= 0) return;
    if (!QCoreApplication::instance()) return delay(ms);
    AudioOutput::instance().programWaits();
    // The timer's own event wakes the wait when nothing else comes.
    bool over = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&over] { over = true; });
    timer.start(ms);
    do {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } while (!over && !(done && done()));
}

void RealPlatform::endProgram(int exitCode) {
    AudioOutput::instance().letEndedSoundsPlayOut();
    std::fflush(nullptr);
    ::_exit(exitCode);
}

void RealPlatform::playWav(const QString& path, bool loop) { AudioOutput::instance().playWav(path, loop); }
void RealPlatform::playWavFor(const QString& path, int durationMs) {
    AudioOutput::instance().playWav(path, true, durationMs);
    timedToneMs_ = durationMs;
}

// By the output's clock, which the program's own may drift against; without
// an output, the program's clock is all there is.
void RealPlatform::awaitTimedTone(const std::function<bool()>& servingUntil) {
    const auto wait = [&](int ms) { servingUntil ? serveEvents(ms, servingUntil) : delay(ms); };
    for (;;) {
        const std::optional<int> left = AudioOutput::instance().msUntilTimedToneEnds(bool(servingUntil));
        if (!left) return wait(timedToneMs_);
        if (*left <= 0 || (servingUntil && servingUntil())) return;
        wait(*left);
    }
}

void RealPlatform::silenceWav() { AudioOutput::instance().silenceWav(); }
void RealPlatform::beep(int pitch, int durationMs) {
    if (durationMs <= 0) return;
    AudioOutput::instance().beep(pitch, durationMs);
    timedToneMs_ = durationMs;
    awaitTimedTone();
}
std::unique_ptr<ToneStream> RealPlatform::openToneStream(const QString& wavPath) {
    return AudioOutput::instance().openToneStream(wavPath);
}
std::unique_ptr<ToneStream> RealPlatform::openSoundStream(std::shared_ptr<const PcmSound> sound) {
    return AudioOutput::instance().openToneStream(std::move(sound));
}
std::unique_ptr<CaptureDevice> RealPlatform::openCapture(const QString& device, const CaptureFormat& format,
                                                         CaptureReceiver& receiver) {
    // The output connects to the sound server first, so that the thread
    // both talk to it on runs at the output's real-time priority.
    AudioOutput::instance().outputRate();
    return openPulseCapture(device, format, receiver);
}
CaptureSources RealPlatform::captureSources() { return pulseCaptureSources(); }
std::unique_ptr<SignalStream> RealPlatform::openSignalStream() {
    auto stream = AudioOutput::instance().openSignalStream();
    if (!stream) raise(err::DeviceUnavailable);
    return stream;
}

int RealPlatform::outputRate() { return AudioOutput::instance().outputRate(); }
void RealPlatform::setOutputVolume(double gain) { AudioOutput::instance().setVolume(gain); }
void RealPlatform::setPlayerChannels(double left, double right) {
    AudioOutput::instance().setPlayerChannels(left, right);
}

DeviceVolume RealPlatform::outputDeviceVolume() { return pulseSinkVolume(); }
bool RealPlatform::setOutputDeviceVolume(double level, bool muted) { return setPulseSinkVolume(level, muted); }

int RealPlatform::messageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return buttons == MessageButtons::YesNo ? kAnswerNo : kAnswerOk;
    }
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::None: break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kAnswerOk;
}

QString RealPlatform::openFileName(const QString& title, const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

ScreenInfo RealPlatform::screen() {
    ScreenInfo info;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* s = app->primaryScreen()) {
            info.dpiX = qRound(s->logicalDotsPerInchX());
            const QSize px = s->size() * s->devicePixelRatio();
            info.widthPx = px.width();
            info.heightPx = px.height();
        }
    }
    return info;
}

QString RealPlatform::saveFileName(const QString& filter, const QString& fileName) {
    return askSaveFileName(filter, fileName);
}

// Linux answers what Windows tells a program without a manifest on every
// release since Windows 8: version 6.2 of the NT family.
VersionAnswer RealPlatform::queryVersion() { return VersionAnswer{1, 2, 6, 2}; }

void RealPlatform::openUrl(const QString& address) {
    if (isWebAddress(address)) QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}

std::optional<QByteArray> RealPlatform::download(const QString& address) { return webDownload(address); }
QString RealPlatform::upload(const QByteArray& data, const QString& address) { return webUpload(data, address); }

QString RealPlatform::findProgram(const QString& name) { return QStandardPaths::findExecutable(name); }

QString RealPlatform::commandLine() {
    QStringList args = QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    if (!args.isEmpty()) args.removeFirst();
    return readArguments(args, namesAToneFile).operands;
}

namespace {
// The executable does not move while it runs: looked up once.
const ProgramFolders& ownFolders() {
    static const ProgramFolders folders = programFoldersOf(QCoreApplication::applicationDirPath());
    return folders;
}
} // namespace

QString RealPlatform::companionFolder() { return ownFolders().companions; }
QString RealPlatform::dataFolder() { return ownFolders().data; }
QString RealPlatform::programPath() { return QCoreApplication::applicationFilePath(); }

} // namespace tonara
