#include "ThresholdTexts.h"

namespace tonara::quillon {

const ThresholdTexts& thresholdTexts(bool dutch) {
    static const ThresholdTexts english{
        "Hearing threshold",
        "Each ear hears tones of 250 to 16000 Hz, now louder, now quieter, after pauses of 1 to 3 seconds. "
        "Press \"I hear it\" (or Space) whenever you hear one. Leave the volume as it is.\n"
        "The levels are in dB relative to the full scale of this computer's output (dBFS): they depend on its "
        "volume, sound card and headphones. They are not calibrated dB HL, and this is no medical test.",
        "Put on headphones, then press Start.",
        "%1, %2 Hz: listen...",
        "The test is complete.",
        "The test was stopped.",
        "&Start",
        "I hear it",
        "Save &CSV...",
        "Save &picture...",
        "Frequency (Hz)",
        "Threshold (dBFS, relative to this computer's output, not dB HL)",
        " or lower",
        "not heard at ",
        "no consistent answer",
        "not tested",
    };
    static const ThresholdTexts nederlands{
        "Gehoordrempel",
        "Elk oor hoort tonen van 250 tot 16000 Hz, nu eens luider, dan weer zachter, na pauzes van 1 tot 3 "
        "seconden. Druk op \"Ik hoor het\" (of de spatiebalk) zodra je er een hoort. Laat het volume zoals het is.\n"
        "De niveaus zijn in dB ten opzichte van het volle bereik van de uitgang van deze computer (dBFS): ze hangen "
        "af van het volume, de geluidskaart en de koptelefoon. Het zijn geen gekalibreerde dB HL, en dit is geen "
        "medische test.",
        "Zet een koptelefoon op en druk op Start.",
        "%1, %2 Hz: luister...",
        "De test is klaar.",
        "De test is gestopt.",
        "&Start",
        "Ik hoor het",
        "&CSV opslaan...",
        "&Afbeelding opslaan...",
        "Frequentie (Hz)",
        "Drempel (dBFS, ten opzichte van de uitgang van deze computer, geen dB HL)",
        " of lager",
        "niet gehoord bij ",
        "geen eenduidig antwoord",
        "niet getest",
    };
    return dutch ? nederlands : english;
}

} // namespace tonara::quillon
