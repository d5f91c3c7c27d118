#include "OwnTexts.h"

#include <QHash>

namespace tonara {

namespace {

struct OwnText {
    const char* english;
    const char* dutch;
};

// Access keys (&) sit where they need no sibling's letter.
constexpr OwnText kOwnTexts[] = {
    // The main window.
    {"Volume (dB):", "Volume (dB):"},
    {"Custom pitch (Hz):", "Eigen toonhoogte (Hz):"},
    {"Tools", "Extra"},
    {"Signal generator...", "Signaalgenerator..."},
    {"Raise sensitivity", "Gevoeligheid verhogen"},
    {"Lower sensitivity", "Gevoeligheid verlagen"},
    {"Output: ", "Uitvoer: "},
    {"Output: none", "Uitvoer: geen"},
    {", too low for %1 Hz", ", te laag voor %1 Hz"},
    {"Online news", "Online nieuws"},
    {"Tonara online news", "Tonara online nieuws (engels)"},
    {"Error report", "Foutrapport"},
    {"Versions", "Versies"},
    {"Tones played", "Gespeelde tonen"},
    // The microphone frame's measuring controls and readouts.
    {"Freeze", "Bevriezen"},
    {"&Input:", "&Invoer:"},
    {"Level:", "Niveau:"},
    {"silent", "stil"},
    {"peak", "piek"},
    // The Morse window.
    {"Timing", "Timing"},
    {"Classic", "Klassiek"},
    {"Standard", "Standaard"},
    {"Speed (WPM):", "Snelheid (WPM):"},
    {"Character speed (WPM):", "Tekensnelheid (WPM):"},
    {"Rise time (ms):", "Stijgtijd (ms):"},
    {"Save as", "Opslaan als"},
    {"WAV files", "WAV-bestanden"},
    {"The message cannot be played: ", "Het bericht kan niet worden afgespeeld: "},
    {"There is nothing to save: the message has no character to key.",
     "Er is niets op te slaan: het bericht heeft geen teken om te seinen."},
    {"A file at %1 Hz cannot hold a pitch of %2 Hertz.", "Een bestand van %1 Hz kan geen toonhoogte van %2 Hertz bevatten."},
    {" cannot be saved: ", " kan niet worden opgeslagen: "},
    // The signal generator.
    {"Signal generator", "Signaalgenerator"},
    {"Octave &down", "Octaaf &omlaag"},
    {"Octave &up", "Octaaf om&hoog"},
    {"&Frequency:", "&Frequentie:"},
    {"Note:", "Noot:"},
    {"&Level (dBFS):", "&Niveau (dBFS):"},
    {"&Channel:", "&Kanaal:"},
    {"&Waveform:", "&Golfvorm:"},
    {"S&weep:", "&Sweep:"},
    {"Sweep &to:", "Sweep &tot:"},
    {"Sweep t&ime (s):", "Sweep&duur (s):"},
    {"&Repeat", "&Herhalen"},
    {"D&uration (s):", "D&uur (s):"},
    {"File f&ormat:", "Bestands&formaat:"},
    {"File r&ate (Hz):", "Bemonsterings&frequentie (Hz):"},
    {"Message", "Melding"},
    {"&Play", "&Afspelen"},
    {"&Stop", "&Stoppen"},
    {"Save &as...", "Opslaan &als..."},
    {"Both", "Beide"},
    {"Left", "Links"},
    {"Right", "Rechts"},
    {"Both, right inverted", "Beide, rechts omgekeerd"},
    {"Sine", "Sinus"},
    {"Square", "Blok"},
    {"Triangle", "Driehoek"},
    {"Sawtooth", "Zaagtand"},
    {"White noise", "Witte ruis"},
    {"Pink noise", "Roze ruis"},
    {"Off", "Uit"},
    {"Linear", "Lineair"},
    {"Logarithmic", "Logaritmisch"},
    {"WAV 32-bit float", "WAV 32-bit drijvende komma"},
    {"There is no sound output to play on.", "Er is geen geluidsuitvoer om op af te spelen."},
    {"The file could not be written: ", "Het bestand kon niet worden geschreven: "},
    {"Length of the file (s):", "Lengte van het bestand (s):"},
    // Quillon.
    {"Save report", "Rapport opslaan"},
};

const QHash<QString, QString>& dutchTexts() {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const OwnText& text : kOwnTexts) {
            const QString english = QString::fromUtf8(text.english), dutch = QString::fromUtf8(text.dutch);
            t.insert(english, dutch);
            // A caption's words without its access key are its accessible name.
            if (english.contains('&')) t.insert(QString(english).remove('&'), QString(dutch).remove('&'));
        }
        return t;
    }();
    return table;
}

} // namespace

QString ownText(const QString& english, const QString& language) {
    if (language != QLatin1String("nl")) return english;
    return dutchTexts().value(english, english);
}

bool isOwnText(const QString& english) { return dutchTexts().contains(english); }

} // namespace tonara
