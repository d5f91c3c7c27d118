#pragma once
// Shared set-up for the settings tests: fresh folders, a fake main window,
// and the files they read.

#include "FakeMainWindow.h"
#include "NumberText.h"
#include "Program.h"
#include "TempFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {

inline void writeTextLines(const QString& path, const QStringList& lines) {
    writeBytes(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

struct Rig {
    TestEnvironment env;
    FakeMainWindow window;

    QStringList activityLog() const { return fileLines(env.temp("userdata.txt")); }
    QStringList errorLog() const { return fileLines(env.temp("error.log")); }
    bool sentToAgreement() const {
        return window.formEvents == QStringList{"show Form5", "hide Form1"} && activityLog().endsWith("> New file");
    }
    // Runs body, which must end in the error window; the user leaves it at once.
    void expectErrorReport(const std::function<void()>& body, int number, int errol) {
        env.fake.at(0, [this] { window.errorLeft = true; });
        EXPECT_THROW(body(), ProgramEnded);
        ASSERT_FALSE(errorLog().isEmpty());
        EXPECT_EQ(errorLog()[0], "Error number: " + signedNumberText(number) +
                                     ",   Error value: " + signedNumberText(errol));
    }
};

// A valid language file whose entry n reads "entry n" (48 is empty, as shipped).
inline QStringList numberedLanguageEntries(const QString& code, int count = 72) {
    QStringList entries{"%valid%", "lang=" + code, "<1>"};
    for (int n = 4; n <= count; ++n) entries << (n == 48 ? QString() : QString("entry %1").arg(n));
    return entries;
}

} // namespace tonara::test
