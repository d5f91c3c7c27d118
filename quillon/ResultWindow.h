#pragma once
// The result window (Form3): the hearing age, the verdict in its colour, and
// the picture button that saves the report.

#include "HearingReport.h"
#include "WizardWindow.h"

class QToolButton;

namespace tonara::quillon {

struct WizardTexts;

class Form3 : public WizardWindow {
    Q_OBJECT
public:
    explicit Form3(Wizard& wizard);

    void loadHandler();
    // Asks where to save the report (the documents folder first) and writes
    // it; "Invalid path" and the reason when it cannot.
    void saveClicked();

private:
    void applyTexts(const WizardTexts& texts);
    void showOutputLimit();
    TestOutcome outcome() const;

    QLabel* label1_; // The age of your hearing is:
    QLabel* label2_; // the hearing age
    QLabel* label3_; // Your hearing is:
    QLabel* label4_; // the verdict
    QLabel* label5_; // levels the output could not reproduce
    QLabel* earLabel_; // Ear tested:
    QLabel* ear_;
    QToolButton* picture1_;
};

} // namespace tonara::quillon
