#include "FakeMainWindow.h"
#include "DesignNames.h"

#include <gtest/gtest.h>

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

namespace {

// The tables make only names their windows have; a name made by hand may not be one.
FormControl designed(FormControl control) {
    if (!isDesignName(control.form, control.text()))
        ADD_FAILURE() << formName(control.form).toStdString() << " has no control named \"" << control.name << '"';
    return control;
}

MainControl designed(MainControl control) {
    designed(FormControl(control));
    return control;
}

} // namespace

FakeMainWindow::FakeMainWindow() { visibleForms.insert(int(Form::Form1)); }

void FakeMainWindow::setCaption(MainControl control, const QString& text) { captions[designed(control)] = text; }

QString FakeMainWindow::caption(MainControl control) const { return captions.value(designed(control)); }

bool FakeMainWindow::isEnabled(MainControl control) const { return !disabled.contains(designed(control)); }

bool FakeMainWindow::isChecked(MainControl control) const { return checked.contains(designed(control)); }

void FakeMainWindow::setFormCaption(FormControl control, const QString& text) {
    formCaptions[designed(control)] = text;
}

void FakeMainWindow::setEnabled(MainControl control, bool enabled) {
    designed(control);
    if (enabled) disabled.remove(control);
    else disabled.insert(control);
}

void FakeMainWindow::setShown(MainControl control, bool shown) {
    designed(control);
    if (shown) hidden.remove(control);
    else hidden.insert(control);
}

void FakeMainWindow::setChecked(MainControl control, bool on) {
    designed(control);
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
