#pragma once
// The hearing-age test from start to end: what the hand-over asked for, the
// answers so far, the one tone object, and the four windows in their order
// (volume, age, test, result). There is no way back to an earlier step.

#include "Class1.h"
#include "Ear.h"
#include "HandOver.h"
#include "WizardTexts.h"

#include <memory>

namespace tonara::quillon {

class Form1;
class Form2;
class Form3;
class Form4;

struct TestState {
    qint16 age = 0;
    qint16 level = 0; // the level sounding, 1 to 11; 12 once level 11 was heard
    qint16 pitch = 0;
    qint16 hearingAge = 0;
};

class Wizard {
public:
    Wizard();
    ~Wizard();

    // Takes the hand-over and shows the volume window; ends the program at
    // once, without a word, when the hand-over asks for what Quillon cannot do.
    void start();

    bool dutch() const { return handOver_.dutch(); }
    const QString& mode() const { return handOver_.mode; }
    // The ear the volume window's list names.
    Ear ear() const;
    const WizardTexts& texts() const { return wizardTexts(dutch()); }
    Class1& tone() { return tone_; }
    TestState& state() { return state_; }

    // Plays pitch with the operation of the mode until the tone's z is 1; in
    // the modes Quillon synthesises, in the chosen ear only.
    void play(qint16 pitch);
    // The player sounds in the chosen ear from now on, the sounding tone too
    // (the modes Quillon synthesises; the tone programs play in both).
    void sendToChosenEar();
    // Sets the stop flag and ends every tone.
    void stopTone();
    // Closing any window: the tone stops and the program ends.
    void end();

    // Shows the age window and serves events in 10 ms steps until it has an age.
    void waitForAge();
    void ageAccepted(qint16 age);
    void showTest();
    void showResult();

    Form1& volumeWindow() { return *form1_; }
    Form4& ageWindow() { return *form4_; }
    Form2& testWindow() { return *form2_; }
    Form3& resultWindow() { return *form3_; }

private:
    HandOver handOver_;
    Class1 tone_;
    TestState state_;
    bool ageGiven_ = false;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form4> form4_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
};

} // namespace tonara::quillon
