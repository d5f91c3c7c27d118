#include "RealPlatform.h"
#include "AudioOutput.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

namespace tonara {

void RealPlatform::delay(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

qint64 RealPlatform::monotonicMs() {
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed();
}

QDateTime RealPlatform::now() { return QDateTime::currentDateTime(); }

void RealPlatform::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void RealPlatform::endProgram(int exitCode) {
    std::fflush(nullptr);
    ::_exit(exitCode);
}

void RealPlatform::playWav(const QString& path, bool loop) { AudioOutput::instance().playWav(path, loop); }
void RealPlatform::silenceWav() { AudioOutput::instance().silenceWav(); }
void RealPlatform::beep(int pitch, int durationMs) { AudioOutput::instance().beep(pitch, durationMs); }
std::unique_ptr<ToneStream> RealPlatform::openToneStream(const QString& wavPath) {
    return AudioOutput::instance().openToneStream(wavPath);
}
int RealPlatform::outputSampleRate() { return AudioOutput::instance().deviceSpec().rate; }

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

// Linux answers what Windows tells a program without a manifest on every
// release since Windows 8: version 6.2 of the NT family.
VersionAnswer RealPlatform::queryVersion() { return VersionAnswer{1, 2, 6, 2}; }

void RealPlatform::openUrl(const QString& address) {
    const QUrl url(address);
    if (url.scheme() != "http" && url.scheme() != "https") return;
    QDesktopServices::openUrl(url);
}

QString RealPlatform::commandLine() {
    QStringList args = QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    if (!args.isEmpty()) args.removeFirst();
    return args.join(' ');
}

QString RealPlatform::programFolder() { return QCoreApplication::applicationDirPath(); }
QString RealPlatform::programPath() { return QCoreApplication::applicationFilePath(); }

} // namespace tonara
