#include "ErrorLocations.h"
#include "Program.h"

#include "NumberText.h"
#include "Platform.h"
#include "Folders.h"
#include "TextFile.h"
#include "Trap.h"

namespace tonara {

namespace {

constexpr int kMaxEntries = 99;
// Far above the longest text shipped (under 300 characters). A damaged file's
// entry of many thousands made a window wider than any screen, which took
// seconds to paint, deaf to everything meanwhile.
constexpr qsizetype kLongestText = 1000;

struct EntryRange {
    int first, last;
};
// Entries that must hold a text; the others may be empty.
constexpr EntryRange kRequiredEntries[] = {{4, 29}, {31, 39}, {41, 47}, {49, 56}, {58, 68}};

// Main window controls and menus set from entries 4 to 28, in entry order.
const char* const kMainControls[] = {
    "Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Option7", "Option8", "Option9",
    "Frame1", "Command2", "Command3", "Label9", "Label3", "Frame3",
    "file", "settings", "dutch", "english", "autoupdate", "about", "donate", "webpage", "soundmode", "language"};

struct FormCaption {
    int entry;
    const char* control;
};
const FormCaption kPitchHelpCaptions[] = {{31, "Label2"}, {32, "Label3"}, {33, "Label4"}, {34, "Label5"},
                                          {35, "Label6"}, {37, "Label7"}, {38, "Label8"}, {39, "Label9"},
                                          {40, "Frame1"}};
const FormCaption kMorseCaptions[] = {{42, "Label2"}, {43, "Label1"}, {44, "Check1"},  {45, "Label3"},
                                      {46, "Command1"}, {47, "Command2"}, {48, "Text1"}};

bool holdsText(const QString& entry) { return !entry.isEmpty() && entry != " "; }

} // namespace

void Program::LanguageAPI(const QString& language, qint16 formval) {
    trapped(mainWindow_, errol::LanguageApi, [&] {
        const QString path = joinPath(platform().dataFolder(), "lng_" + language + ".dll");
        if (!fileExists(path)) return;

        // The first entry is read before the end is tested, so an empty file fails here.
        EntryReader reader(path);
        for (int n = 1;;) {
            languageSlots_[n] = reader.next().left(kLongestText);
            ++n;
            if (reader.atEnd() || n == kMaxEntries + 1) break;
        }
        const auto& entry = languageSlots_;

        if (entry[1] != "%valid%" || entry[2] != "lang=" + language || entry[3] != "<1>") return;
        for (const EntryRange& range : kRequiredEntries)
            for (int n = range.first; n <= range.last; ++n)
                if (!holdsText(entry[n])) return;

        const QString microphoneText = entry[56] + ", " + entry[57];
        switch (formval) {
        case 1: {
            int n = 4;
            for (const char* control : kMainControls) mainWindow_.setCaption(control, entry[n++]);
            mainWindow_.setStatusText(1, entry[29]);
            mainWindow_.setCaption("Frame4", microphoneText + signedNumberText(mainWindow_.state().sensmicro));
            break;
        }
        case 2:
            for (const FormCaption& c : kPitchHelpCaptions) mainWindow_.setFormCaption(Form::Form2, c.control, entry[c.entry]);
            break;
        case 4:
            for (const FormCaption& c : kMorseCaptions) mainWindow_.setFormCaption(Form::Form4, c.control, entry[c.entry]);
            break;
        case 99:
            mainWindow_.setFormCaption(Form::frmAbout, "lblDescription", entry[72]);
            break;
        default:
            break;
        }

        langupdate = entry[49];
        updatebtn1 = entry[50];
        updatebtn2 = entry[51];
        updatebtn3 = entry[52];
        updatevertxt = entry[53];
        updatenewvertxt = entry[54];
        microphonetxt = microphoneText;
        mainWindow_.state().microphonetxt1 = microphonetxt;
        ntacc = entry[56];
        acctoon = entry[29];
        mainWindow_.state().acctoon1 = acctoon;
        for (int mode = 1; mode <= 9; ++mode) rd[mode] = entry[59 + mode];
        rdbtn1 = entry[69];
        rdbtn2 = entry[70];
    });
}

} // namespace tonara
