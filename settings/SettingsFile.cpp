#include "ErrorLocations.h"
#include "Program.h"

#include "Folders.h"
#include "NumberText.h"
#include "Platform.h"
#include "SoundModes.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

namespace {

// Entries past this many make the file invalid for reading and fatal for rewriting.
constexpr int kSettingsEntries = 9;

const QString kMicrophonePrefix = "microphone=";
// The frame's design caption, for when no language file has supplied one.
const QString kDesignMicrophoneText = "Microphone input, sensitivity:";

QString settingsPath(const QString& folder) { return joinPath(folder, "tonara.ini"); }

bool isOneOf(const QString& line, std::initializer_list<const char*> accepted) {
    for (const char* text : accepted)
        if (line == QLatin1String(text)) return true;
    return false;
}

// The number after "microphone=" (characters 12 to 110 of the line), before
// any narrowing. Raises Type mismatch when it is not a number.
double microphoneNumber(const QString& line) { return integerPart(line.mid(kMicrophonePrefix.size(), 99)); }

} // namespace

void Program::CheckSettings() {
    trapped(mainWindow_, errol::CheckSettings, [&] {
        appDataFolder_ = appDataFolder();
        for (int n = 0; n <= 9; ++n) settingsSlots_[n].clear();
        const QString path = settingsPath(appDataFolder_);
        if (!fileExists(path)) {
            NewFile();
            return;
        }

        EntryReader reader(path);
        for (int n = 1; !reader.atEnd(); ++n) {
            settingsSlots_[n] = reader.next();
            if (n == kSettingsEntries + 1) {
                NewFile();
                return;
            }
        }

        MainState& vars = mainWindow_.state();
        const auto line = [&](int n) { return settingsSlots_[n].toLower(); };

        if (!isOneOf(line(1), {"autoupdate=y", "autoupdate=n"})) return NewFile();
        PrintFile(settingsSlots_[1]);
        const bool autoUpdate = line(1) == "autoupdate=y";
        mainWindow_.setChecked(form1::autoupdate, autoUpdate);
        vars.updater = autoUpdate ? 1 : 0;

        const SoundMode* soundMode = soundModeForSettingsLine(settingsSlots_[2]);
        if (!soundMode) return NewFile();
        PrintFile(settingsSlots_[2]);

        if (!isOneOf(line(3), {"language=en", "language=nl"})) return NewFile();
        PrintFile(settingsSlots_[3]);
        const bool dutch = line(3) == "language=nl";
        vars.lang = dutch ? "nl" : "en";
        mainWindow_.setChecked(form1::english, !dutch);
        mainWindow_.setChecked(form1::dutch, dutch);
        LanguageAPI(vars.lang, 1);

        if (!isOneOf(line(4), {"senddata=y", "senddata=n"})) return NewFile();
        PrintFile(settingsSlots_[4]);

        if (!line(5).startsWith(kMicrophonePrefix)) return NewFile();
        const double sensitivity = microphoneNumber(settingsSlots_[5]);
        if (sensitivity < 1 || sensitivity > 20) return NewFile();
        PrintFile(settingsSlots_[5]);

        if (!isOneOf(line(6), {"microphoneon=y", "microphoneon=n"})) return NewFile();
        PrintFile(settingsSlots_[6]);

        const bool microphoneOn = line(6) == "microphoneon=y";
        mainWindow_.setChecked(form1::microinputonoff, microphoneOn);
        vars.microcheck = microphoneOn ? 1 : 0;
        mainWindow_.setEnabled(form1::Command5, microphoneOn);
        mainWindow_.setEnabled(form1::Command4, microphoneOn);
        vars.sensmicro = qint16(sensitivity);
        const QString frameText = microphonetxt.isEmpty() ? kDesignMicrophoneText : microphonetxt;
        mainWindow_.setCaption(form1::Frame4, frameText + signedNumberText(vars.sensmicro));
        vars.snd = line(4) == "senddata=y" ? 1 : 0;
        vars.bit = soundMode->code;
    });
}

void Program::WriteLine(qint16 linenumber, const QString& value) {
    trapped(mainWindow_, errol::WriteSettingsLine, [&] {
        for (int n = 0; n <= 9; ++n) settingsSlots_[n].clear();
        PrintFile("> Write action, Line: " + signedNumberText(linenumber) + ", Value: " + value);

        appDataFolder_ = appDataFolder();
        const QString path = settingsPath(appDataFolder_);
        {
            EntryReader reader(path);
            for (int n = 1; !reader.atEnd();) {
                settingsSlots_[n] = reader.next();
                if (++n == kSettingsEntries + 1) platform().endProgram(0);
            }
        }

        // The first empty entry ends the rewritten file. Replaced in one step:
        // a crash mid-write must not cost the user every setting.
        QStringList lines;
        for (int n = 1; n <= kSettingsEntries && !settingsSlots_[n].isEmpty(); ++n)
            lines << (n == linenumber ? value : settingsSlots_[n]);
        replaceLines(path, lines);
    });
}

void Program::NewFile() {
    trapped(mainWindow_, errol::NewSettingsFile, [&] {
        PrintFile("> New file");
        if (mainWindow_.state().snd == 1) SendData();
        mainWindow_.showForm(Form::Form5);
        mainWindow_.hideForm(Form::Form1);
    });
}

void Program::setLang(const QString& newlang) { newlang_ = newlang; }

} // namespace tonara
