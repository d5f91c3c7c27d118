#pragma once
// What the settings tests share: the checks on the recording main window.

#include "NumberText.h"
#include "Program.h"
#include "ProgramRig.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tonara::test {

struct ChecksRig : LogicRig {
    ChecksRig() : LogicRig(ErrorWindow::Waits) {}

    bool sentToAgreement() const {
        return main.formEvents == QStringList{"show Form5", "hide Form1"} && activityLog().endsWith("> New file");
    }
    // Runs body, which must end in the error window; the user leaves it at once.
    void expectErrorReport(const std::function<void()>& body, int number, int errol) {
        env.fake.at(0, [this] { main.errorLeft = true; });
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
