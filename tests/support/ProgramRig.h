#pragma once
// What every test rig starts from: the fake platform on its virtual clock
// with fresh folders, the readers of the program's own files, and the one
// way the tests reach a window's control by its design name.

#include "DesignName.h"
#include "FakeMainWindow.h"
#include "TempFolders.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace tonara::test {

// Lines as the program writes its text files: CR LF after each.
inline void writeTextLines(const QString& path, const QStringList& lines) {
    writeBytes(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

struct ProgramRig {
    TestEnvironment env;

    QStringList activityLog() const { return fileLines(env.temp("userdata.txt")); }
    QStringList errorLog() const { return fileLines(env.temp("error.log")); }
    void writeSettings(const QStringList& lines) const { writeTextLines(env.appData("tonara.ini"), lines); }
};

// The logic on the recording main window instead of the real one.
struct LogicRig : ProgramRig {
    // Left at once, a trapped failure ends the test instead of waiting in
    // the error window; tests of that window leave it themselves.
    enum class ErrorWindow { LeftAtOnce, Waits };

    explicit LogicRig(ErrorWindow errorWindow = ErrorWindow::LeftAtOnce) {
        main.errorLeft = errorWindow == ErrorWindow::LeftAtOnce;
    }

    FakeMainWindow main;
};

// The window's control of that name and type. A missing one fails the
// test with its name, and ends it: nothing is done to a control not there.
template <typename T, auto Window>
T& control(const QObject& window, DesignName<Window> name) {
    T* found = window.findChild<T*>(name);
    if (!found) {
        const std::string what = window.objectName().toStdString() + " has no " + name.name();
        ADD_FAILURE() << what;
        throw std::runtime_error(what);
    }
    return *found;
}

template <auto Window> void click(const QObject& window, DesignName<Window> name) {
    control<QAbstractButton>(window, name).click();
}
// A label's text.
template <auto Window> QString caption(const QObject& window, DesignName<Window> name) {
    return control<QLabel>(window, name).text();
}
template <auto Window> QString buttonText(const QObject& window, DesignName<Window> name) {
    return control<QAbstractButton>(window, name).text();
}
// Types into the box key by key, through its key filters, and presses Return.
template <auto Window> void type(const QObject& window, DesignName<Window> name, const QString& text) {
    auto& box = control<QLineEdit>(window, name);
    box.selectAll();
    box.setFocus();
    QTest::keyClicks(&box, text);
    QTest::keyClick(&box, Qt::Key_Return);
}

} // namespace tonara::test
