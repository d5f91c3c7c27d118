#pragma once
// Quillon's wizard on the fake platform with fresh folders.

#include "AgeWindow.h"
#include "ProgramRig.h"
#include "QuillonNames.h"
#include "ResultWindow.h"
#include "Synthesis.h"
#include "TestWindow.h"
#include "VolumeWindow.h"
#include "Wizard.h"

#include <QLineEdit>
#include <QTest>

namespace tonara::test {

struct QuillonRig : ProgramRig {
    quillon::Wizard wizard;

    void handOver(const QByteArray& bytes) { writeBytes(env.temp("quillon.ini"), bytes); }

    // The WAV images the player was asked to play, in order.
    std::vector<QByteArray> played() const {
        std::vector<QByteArray> images;
        for (const PlatformRecord* r : env.fake.all("play")) images.push_back(r->data);
        return images;
    }
};

// Types into the age box key by key, through its key filter, and presses Continue.
inline void enterAge(QWidget& ageWindow, const QString& typed) {
    auto& box = control<QLineEdit>(ageWindow, quillonAge::Text1);
    box.clear();
    QTest::keyClicks(&box, typed);
    click(ageWindow, quillonAge::Command1);
}

// From the volume window: Next, the age, then "I hear the sound" for
// heardLevels levels and "I don't hear the sound" for the next one (none
// when all eleven are heard), an answer every 300 ms. Returns when the test is over.
inline void runTest(QuillonRig& rig, const QString& age, int heardLevels) {
    constexpr qint64 kAnswerEveryMs = 300;
    FakePlatform& fake = rig.env.fake;
    qint64 at = fake.clockMs + 100;
    fake.at(at, [&rig, age] { enterAge(rig.wizard.ageWindow(), age); });
    for (int level = 1; level <= heardLevels; ++level)
        fake.at(at += kAnswerEveryMs, [&rig] { click(rig.wizard.testWindow(), quillonTest::Command1); });
    if (heardLevels < 11) fake.at(at += kAnswerEveryMs, [&rig] { click(rig.wizard.testWindow(), quillonTest::Command2); });
    click(rig.wizard.volumeWindow(), quillonVolume::Command4);
}

// Saves the report from the result window under path, as the user would pick it.
inline void saveReportAs(QuillonRig& rig, const QString& path) {
    rig.env.fake.savedNames = {path};
    click(rig.wizard.resultWindow(), quillonResult::Picture1);
}

// The WAV image the shared engine writes for pitch.
inline QByteArray toneImage(qint32 pitch) { return CreateWaveArray(oneSecondTone(pitch), toneRateFor(pitch), 16); }

} // namespace tonara::test
