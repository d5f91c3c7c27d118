#pragma once
// Step 1, the volume window (Form1): a 1000 Hz tone to set the volume by,
// and the desktop's volume control.

#include "WizardWindow.h"

class QGroupBox;

namespace tonara::quillon {

struct WizardTexts;

class Form1 : public WizardWindow {
    Q_OBJECT
public:
    explicit Form1(Wizard& wizard);

    // The texts of the hand-over's language, then the window is shown.
    void loadHandler();
    void soundSettingsClicked();
    void playClicked();
    void stopClicked();
    void nextClicked();

private:
    void applyTexts(const WizardTexts& texts);

    QGroupBox* frame1_;
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* command1_; // Sound settings
    QPushButton* command2_; // Play sound
    QPushButton* command3_; // Stop sound
    QPushButton* command4_; // Next >
};

} // namespace tonara::quillon
