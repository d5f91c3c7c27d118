#pragma once
// Settings, logs and language of the main program. Every handler creates a
// fresh Program; what one learns (paths, language texts, log slots) lives
// only as long as that instance.

#include "MainWindow.h"
#include "RuntimeError.h"

#include <QString>
#include <array>

namespace tonara {

class Program {
public:
    explicit Program(MainWindow& mainWindow);

    // Activity log: appends one line (at most 100 lines are kept).
    // Failures go to the caller's trap.
    void PrintFile(const QString& newdata);

    // Error report: writes the error log, shows the error window, hides the
    // others and waits until the user leaves it; then the program ends.
    [[noreturn]] void ErrorNote(qint16 errol, const RuntimeError& failure);

    // Settings file (tonara.ini in the application-data folder).
    void CheckSettings();
    void WriteLine(qint16 linenumber, const QString& value);
    void NewFile();
    void setLang(const QString& newlang);

    // Language files: applies the texts of one window (form 1, 2, 4, 99)
    // and refreshes the text variables below.
    void LanguageAPI(const QString& language, qint16 formval);

    // Online: the start-up update check (shows the update window and waits
    // while it is open), and the upload of the activity log with consent.
    void UpdateCheck();
    void SendData();

    // Start-up write test of the temporary and application-data folders.
    void WriteTest();
    // The shorter shut-down.
    void Terminate();

    // Texts loaded by LanguageAPI; empty until a language file was applied.
    QString langupdate, updatebtn1, updatebtn2, updatebtn3, updatevertxt, updatenewvertxt;
    QString microphonetxt, ntacc, acctoon;
    std::array<QString, 10> rd; // rd[1]..rd[9]: the info texts of modes 1 to 9
    QString rdbtn1, rdbtn2;

    MainWindow& mainWindow() { return mainWindow_; }

private:
    void loadActivityLog();

    MainWindow& mainWindow_;
    QString tempFolder_;
    QString appDataFolder_;
    QString newlang_;
    std::array<QString, 11> settingsSlots_{};
    std::array<QString, 101> logSlots_{};
    std::array<QString, 101> languageSlots_{};
};

} // namespace tonara
