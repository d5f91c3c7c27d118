#pragma once
// The test window (Form2): one level sounding at a time, from 1000 Hz up,
// until the user no longer hears it or has heard all eleven.

#include "WizardWindow.h"

namespace tonara::quillon {

struct WizardTexts;

class Form2 : public WizardWindow {
    Q_OBJECT
public:
    explicit Form2(Wizard& wizard);

    // Shows the window and plays level 1; returns when the test is over.
    void loadHandler();
    void hearClicked();
    void dontHearClicked();

private:
    void applyTexts(const WizardTexts& texts);
    void showLevel(qint16 level, qint16 pitch);
    void playLevel();
    void finish();

    QLabel* label1_; // the question
    QLabel* label2_; // keep the volume
    QLabel* label3_; // "Level:"
    QLabel* label4_; // the level
    QLabel* label5_; // "Pitch:"
    QLabel* label6_; // the pitch
    QPushButton* command1_; // I hear the sound
    QPushButton* command2_; // I don't hear the sound
};

} // namespace tonara::quillon
