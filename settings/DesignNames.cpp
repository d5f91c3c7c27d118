#include "DesignNames.h"

namespace tonara {

namespace {

QStringList numbered(const QString& stem, std::initializer_list<int> numbers) {
    QStringList names;
    for (int n : numbers) names << stem + QString::number(n);
    return names;
}

QStringList mainWindowNames() {
    QStringList names = numbered("Frame", {1, 2, 3, 4}) + numbered("Option", {1, 2, 3, 4, 5, 6, 7, 8, 9}) +
                        numbered("Label", {1, 2, 3, 5, 6, 7, 8, 9, 10}) + numbered("Command", {1, 2, 3, 4, 5});
    names << "HScroll1" << "Picture1" << "Line1" << "picWave" << "StatusBar1";
    // The menu tree.
    names << "file" << "openfile" << "exit"
          << "settings" << "soundmode" << "sndautomatic" << "sndsound32" << "sndwinmm" << "snddirectsound"
          << "sndclassic" << "language" << "english" << "dutch" << "autoupdate" << "microinputonoff"
          << "help" << "webpage" << "donate" << "contact" << "about";
    return names;
}

} // namespace

const QStringList& designNames(Form form) {
    static const QStringList form1 = mainWindowNames();
    static const QStringList pitchHelp = QStringList{"Frame1"} + numbered("Label", {2, 3, 4, 5, 6, 7, 8, 9});
    static const QStringList morse{"Text1", "Text2", "Text3", "Label1", "Label2", "Label3",
                                   "Check1", "Command1", "Command2", "Line1", "Line2"};
    static const QStringList about{"lblTitle", "lblVersion", "lblDescription", "cmdOK", "cmdSysInfo"};
    static const QStringList none;
    switch (form) {
    case Form::Form1: return form1;
    case Form::Form2: return pitchHelp;
    case Form::Form4: return morse;
    case Form::frmAbout: return about;
    default: return none;
    }
}

bool isDesignName(Form form, const QString& name) { return designNames(form).contains(name); }

} // namespace tonara
