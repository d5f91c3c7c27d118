#pragma once
// The age window (Form4): the user's age, 0 to 99, typed as a number.

#include "WizardWindow.h"

class QLineEdit;

namespace tonara::quillon {

struct WizardTexts;

class Form4 : public WizardWindow {
    Q_OBJECT
public:
    explicit Form4(Wizard& wizard);

    void loadHandler();
    // Hands an accepted age to the wizard and closes the window; any other
    // text gets the invalid-age message and the window stays.
    void continueClicked();

private:
    void applyTexts(const WizardTexts& texts);

    QLabel* label1_;
    QLineEdit* text1_;
    QPushButton* command1_; // Continue >
};

} // namespace tonara::quillon
