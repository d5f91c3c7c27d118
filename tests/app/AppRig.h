#pragma once
// A real main window on a fake platform, with fresh folders and the shipped
// language files in its data folder.

#include "Form1.h"
#include "ProgramRig.h"
#include "WavFile.h"

#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace tonara::test {

inline QStringList validSettings(const QString& bit = "128", const QString& language = "EN") {
    return {"AutoUpdate=y", "Soundbit=" + bit, "Language=" + language, "SendData=n", "Microphone=1", "MicrophoneON=n"};
}

struct AppRig : ProgramRig {
    std::unique_ptr<Form1> form;

    AppRig() {
        const QString bin = qEnvironmentVariable("TONARA_BIN");
        for (const char* file : {"lng_en.dll", "lng_nl.dll"})
            QFile::copy(bin + "/" + file, env.dataFolder(file));
        form = std::make_unique<Form1>();
    }
    ~AppRig() {
        form.reset();
        // Windows unloaded during the test are deleted later; do it before the next test looks for them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename W>
    W* window(const char* name) const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name) return qobject_cast<W*>(w);
        return nullptr;
    }
};

// The pitch of a WAV image's first channel, from its zero crossings over one second.
inline double wavPitch(const QByteArray& wav) {
    const std::optional<PcmSound> sound = parseWav(wav);
    if (!sound) return 0;
    const int frames = sound->frameCount();
    int crossings = 0;
    float previous = 0;
    for (int i = 0; i < frames; ++i) {
        const float s = sound->samples[size_t(2 * i)];
        if (i > 0 && ((previous < 0 && s >= 0) || (previous >= 0 && s < 0))) ++crossings;
        previous = s;
    }
    return crossings / 2.0 * sound->rate / frames;
}

} // namespace tonara::test
