#include "FakeMainWindow.h"

namespace tonara::test {

QString formName(Form form) {
    switch (form) {
    case Form::Form1: return "Form1";
    case Form::Form2: return "Form2";
    case Form::Form3: return "Form3";
    case Form::Form4: return "Form4";
    case Form::Form5: return "Form5";
    case Form::Form6: return "Form6";
    case Form::Form7: return "Form7";
    case Form::Form8: return "Form8";
    case Form::Form9: return "Form9";
    case Form::frmAbout: return "frmAbout";
    }
    return {};
}

FakeMainWindow::FakeMainWindow() { visibleForms.insert(int(Form::Form1)); }

void FakeMainWindow::setEnabled(const QString& control, bool enabled) {
    if (enabled) disabled.remove(control);
    else disabled.insert(control);
}

void FakeMainWindow::setShown(const QString& control, bool shown) {
    if (shown) hidden.remove(control);
    else hidden.insert(control);
}

void FakeMainWindow::setChecked(const QString& control, bool on) {
    if (on) checked.insert(control);
    else checked.remove(control);
}

void FakeMainWindow::setStatusText(int panel, const QString& text) {
    status[panel] = text;
    if (panel == 1) statusHistory << text;
}

void FakeMainWindow::showForm(Form form) {
    visibleForms.insert(int(form));
    formEvents << "show " + formName(form);
}

void FakeMainWindow::hideForm(Form form) {
    visibleForms.remove(int(form));
    formEvents << "hide " + formName(form);
}

void FakeMainWindow::unloadForm(Form form) {
    visibleForms.remove(int(form));
    formEvents << "unload " + formName(form);
}

} // namespace tonara::test
