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
constexpr MainControl kMainControls[] = {
    form1::Option1,  form1::Option2,   form1::Option3,  form1::Option4,  form1::Option5,
    form1::Option6,  form1::Option7,   form1::Option8,  form1::Option9,  form1::Frame1,
    form1::Command2, form1::Command3,  form1::Label9,   form1::Label3,   form1::Frame3,
    form1::file,     form1::settings,  form1::dutch,    form1::english,  form1::autoupdate,
    form1::about,    form1::donate,    form1::webpage,  form1::soundmode, form1::language};

struct FormCaption {
    int entry;
    FormControl control;
};
constexpr FormCaption kPitchHelpCaptions[] = {{31, form2::Label2}, {32, form2::Label3}, {33, form2::Label4},
                                              {34, form2::Label5}, {35, form2::Label6}, {37, form2::Label7},
                                              {38, form2::Label8}, {39, form2::Label9}, {40, form2::Frame1}};
constexpr FormCaption kMorseCaptions[] = {{42, form4::Label2},   {43, form4::Label1},   {44, form4::Check1},
                                          {45, form4::Label3},   {46, form4::Command1}, {47, form4::Command2},
                                          {48, form4::Text1}};

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
            for (MainControl control : kMainControls) mainWindow_.setCaption(control, entry[n++]);
            mainWindow_.setStatusText(1, entry[29]);
            mainWindow_.setCaption(form1::Frame4, microphoneText + signedNumberText(mainWindow_.state().sensmicro));
            break;
        }
        case 2:
            for (const FormCaption& c : kPitchHelpCaptions) mainWindow_.setFormCaption(c.control, entry[c.entry]);
            break;
        case 4:
            for (const FormCaption& c : kMorseCaptions) mainWindow_.setFormCaption(c.control, entry[c.entry]);
            break;
        case 99:
            mainWindow_.setFormCaption(frmAbout::lblDescription, entry[72]);
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
