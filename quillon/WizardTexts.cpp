#include "WizardTexts.h"

namespace tonara::quillon {

const WizardTexts& wizardTexts(bool dutch) {
    static const WizardTexts english{
        "How old is your hearing?",
        "Step 1: Change the volume",
        "Change the volume of Windows:",
        "Sound settings",
        "Play sound",
        "Stop sound",
        "Make sure you hear the sound good and clearly! After you click on \"next\" you shouldn't change the volume!",
        "Next >",
        "Hearing &threshold...",
        "What's your age?",
        "Enter your age:",
        "Continue >",
        "Please enter a valid age (0-99)!",
        "Unvalid age",
        "Do you here the sound?",
        "I hear the sound",
        "I don't hear the sound",
        "Please don't change the volume!",
        "The age of your hearing is:",
        "Your hearing is:",
        "Ear tested:",
    };
    static const WizardTexts nederlands{
        "Hoe oud is je gehoor?",
        "Stap 1: Het volume veranderen",
        "Verander het volume van Windows:",
        "Geluids Setup",
        "Start Geluid",
        "Stop Geluid",
        "Ben er zeker van dat u het geluid goed hoort! Nadat u de test start mag u het geluid niet meer veranderen!",
        "Volgende >",
        "Gehoor&drempel...",
        "Wat is je leeftijd?",
        "Vul je leeftijd in:",
        "Volgende >",
        "Voer een geldige leeftijd in (0-99)!",
        "Ongeldige leeftijd",
        "Hoor je het geluid?",
        "Ik hoor het geluid",
        "Ik hoor het geluid niet",
        "Verander alstublieft niet het geluid!",
        "De leeftijd van uw gehoor is:",
        "Je gehoor is:",
        "Getest oor:",
    };
    return dutch ? nederlands : english;
}

QString unreproducibleNote(bool dutch, qint16 fromLevel, int outputRate) {
    const QString text =
        dutch ? QStringLiteral("Let op: de geluidsuitvoer geeft alleen tonen onder %1 Hz weer (%2 samples per "
                               "seconde). Dat je niveau %3 of hoger niet hoort, zegt niets over je gehoor.")
              : QStringLiteral("Note: the sound output reproduces only pitches below %1 Hz (%2 samples per "
                               "second). Not hearing level %3 or higher says nothing about your hearing.");
    return text.arg(outputRate / 2).arg(outputRate).arg(fromLevel);
}

} // namespace tonara::quillon
