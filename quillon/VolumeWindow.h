#pragma once
// Step 1, the volume window (Form1): a 1000 Hz tone to set the volume by,
// the desktop's volume control (or Quillon's own), the ear to test, and the
// threshold test.

#include "Ear.h"
#include "WizardWindow.h"

#include <memory>

class QGroupBox;

namespace tonara::quillon {

struct WizardTexts;
class EarChooser;
class OutputVolumeWindow;
class ThresholdWindow;

class Form1 : public WizardWindow {
    Q_OBJECT
public:
    explicit Form1(Wizard& wizard);
    ~Form1() override;

    // The texts of the hand-over's language, then the window is shown.
    void loadHandler();
    void soundSettingsClicked();
    void playClicked();
    void stopClicked();
    void nextClicked();
    void thresholdClicked();
    // The ear chosen in the list: the one the set-up tone and every level sound in.
    Ear ear() const;
    OutputVolumeWindow* outputVolumeWindow() const { return outputVolume_.get(); }
    ThresholdWindow* thresholdWindow() const { return threshold_.get(); }

private:
    void applyTexts(const WizardTexts& texts);

    QGroupBox* frame1_;
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* command1_; // Sound settings
    QPushButton* command2_; // Play sound
    QPushButton* command3_; // Stop sound
    QPushButton* command4_; // Next >
    EarChooser* earChooser_;
    QPushButton* thresholdButton_; // Hearing threshold...
    std::unique_ptr<OutputVolumeWindow> outputVolume_;
    std::unique_ptr<ThresholdWindow> threshold_;
};

} // namespace tonara::quillon
