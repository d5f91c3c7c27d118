#pragma once
// The main window with its microphone display, and what the tests of it share.

#include "AppRig.h"
#include "WaveBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QThread>
#include <thread>

namespace tonara::test {

inline constexpr int kRate = 44100;
inline constexpr int kHalfBytes = 17640;

inline QStringList microphoneOn(const QString& sensitivity = "1") {
    QStringList lines = validSettings();
    lines[4] = "Microphone=" + sensitivity;
    lines[5] = "MicrophoneON=y";
    return lines;
}

struct MicrophoneRig : AppRig {
    WaveBox& box() { return form->picWave(); }

    void toggleItem() { control<QAction>(*form, form1::microinputonoff).trigger(); }

    // Feeds a half from a thread of its own, as the sound library does, and waits for its picture.
    bool feedAndDraw(const QByteArray& half) {
        box().clear();
        std::thread audio([&] { env.fake.feedCapture(half); });
        audio.join();
        return waitForPicture();
    }

    bool waitForPicture() {
        for (int pass = 0; pass < 4000; ++pass) {
            QCoreApplication::processEvents();
            if (!box().picture().traces.empty()) return true;
            QThread::msleep(5);
        }
        return false;
    }

    QString settingsLine(int n) const { return fileLines(env.appData("tonara.ini")).value(n - 1); }
    int writes() const { return int(activityLog().filter("> Write action").size()); }
};

} // namespace tonara::test
