#pragma once
// Every window of Tonara and Quillon, opened as the programs open them, on
// the fake platform: the tests below walk them all, whatever controls they hold.

#include "AppRig.h"
#include "Form9.h"
#include "FrmAbout.h"
#include "GeneratorWindow.h"
#include "QuillonRig.h"
#include "WindowLanguage.h"

#include <QApplication>
#include <QLayout>
#include <QPointer>
#include <functional>
#include <optional>

namespace tonara::test {

// One program's rig at a time: each sets up the fake platform for itself.
struct OpenedWindows {
    std::optional<AppRig> tonara;
    std::optional<QuillonRig> quillonRig;
    std::unique_ptr<GeneratorWindow> generator;

    AppRig& app() {
        if (!tonara) tonara.emplace();
        return *tonara;
    }
    quillon::Wizard& wizard() {
        if (!quillonRig) quillonRig.emplace();
        return quillonRig->wizard;
    }
};

struct WindowCase {
    const char* name;
    std::function<QWidget*(OpenedWindows&)> open;
};

inline QWidget* shownForm(OpenedWindows& o, Form form, const char* name) {
    o.app().form->showForm(form);
    return o.app().window<QWidget>(name);
}

inline QWidget* shown(QWidget* window) {
    window->show();
    return window;
}

inline const std::vector<WindowCase>& allWindows() {
    static const std::vector<WindowCase> windows{
        {"main", [](OpenedWindows& o) { return shown(o.app().form.get()); }},
        {"pitch help", [](OpenedWindows& o) { return shownForm(o, Form::Form2, "Form2"); }},
        {"news", [](OpenedWindows& o) { return shownForm(o, Form::Form3, "Form3"); }},
        {"Morse", [](OpenedWindows& o) { return shownForm(o, Form::Form4, "Form4"); }},
        {"agreement", [](OpenedWindows& o) { return shownForm(o, Form::Form5, "Form5"); }},
        {"error", [](OpenedWindows& o) { return shownForm(o, Form::Form6, "Form6"); }},
        {"update", [](OpenedWindows& o) { return shownForm(o, Form::Form7, "Form7"); }},
        {"splash", [](OpenedWindows& o) { return shownForm(o, Form::Form8, "Form8"); }},
        {"player", [](OpenedWindows& o) {
             // Shown by its load only with a file to play: here without one.
             return shown(new Form9(*o.app().form, o.app().form.get()));
         }},
        {"about", [](OpenedWindows& o) { return shownForm(o, Form::frmAbout, "frmAbout"); }},
        {"signal generator", [](OpenedWindows& o) {
             o.app();
             o.generator = std::make_unique<GeneratorWindow>();
             followLanguage(o.generator.get(), o.app().form->state().lang); // as the main window opens it
             return shown(o.generator.get());
         }},
        {"Quillon volume", [](OpenedWindows& o) { return shown(&o.wizard().volumeWindow()); }},
        {"Quillon age", [](OpenedWindows& o) { return shown(&o.wizard().ageWindow()); }},
        {"Quillon test", [](OpenedWindows& o) { return shown(&o.wizard().testWindow()); }},
        {"Quillon result", [](OpenedWindows& o) { return shown(&o.wizard().resultWindow()); }},
    };
    return windows;
}

// The language is the programs' own: Tonara's from its settings, Quillon's from its hand-over.
inline void speak(OpenedWindows& o, const QString& window, bool dutch) {
    if (window.startsWith("Quillon")) {
        o.quillonRig.emplace();
        o.quillonRig->handOver(dutch ? "128\r\nnl\r\n" : "128\r\nen\r\n");
        o.quillonRig->wizard.start();
        o.quillonRig->wizard.volumeWindow().hide();
        o.quillonRig->wizard.ageWindow().loadHandler(); // the test window plays as it loads: English
        o.quillonRig->wizard.resultWindow().loadHandler();
        for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    } else if (window != "agreement") {
        o.app().writeSettings(validSettings("128", dutch ? "NL" : "EN"));
        o.app().form->start();
    }
}

// Lays the window out as a first show does.
inline void settle(QWidget* window) {
    if (window->layout()) window->layout()->activate();
    QCoreApplication::processEvents();
}

} // namespace tonara::test
