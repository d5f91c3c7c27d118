#pragma once
// The texts of Quillon's four windows and messages, in English and in Dutch.

#include <QString>

namespace tonara::quillon {

struct WizardTexts {
    QString caption; // the volume, test and result windows

    // Volume window.
    QString volumeFrame, volumeLabel, soundSettings, playSound, stopSound, volumeNote, next, thresholdButton;

    // Age window and its message.
    QString ageCaption, ageLabel, continueButton, invalidAge, invalidAgeTitle;

    // Test window.
    QString question, hear, dontHear, keepVolume;

    // Result window.
    QString hearingAgeLabel, hearingIsLabel, earTested;
};

const WizardTexts& wizardTexts(bool dutch);

// Below the verdict when levels from fromLevel on lay at or above the
// output's Nyquist limit: then not hearing them says nothing about the ear.
QString unreproducibleNote(bool dutch, qint16 fromLevel, int outputRate);

} // namespace tonara::quillon
