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

const QString& designed(Form form, const QString& control) {
    if (!isDesignName(form, control))
        ADD_FAILURE() << formName(form).toStdString() << " has no control named \"" << control.toStdString() << '"';
    return control;
}

} // namespace

FakeMainWindow::FakeMainWindow() { visibleForms.insert(int(Form::Form1)); }

void FakeMainWindow::setCaption(const QString& control, const QString& text) {
    captions[designed(Form::Form1, control)] = text;
}

QString FakeMainWindow::caption(const QString& control) const { return captions.value(designed(Form::Form1, control)); }

bool FakeMainWindow::isEnabled(const QString& control) const { return !disabled.contains(designed(Form::Form1, control)); }

bool FakeMainWindow::isChecked(const QString& control) const { return checked.contains(designed(Form::Form1, control)); }

void FakeMainWindow::setFormCaption(Form form, const QString& control, const QString& text) {
    formCaptions[{int(form), designed(form, control)}] = text;
}

void FakeMainWindow::setEnabled(const QString& control, bool enabled) {
    designed(Form::Form1, control);
    if (enabled) disabled.remove(control);
    else disabled.insert(control);
}

void FakeMainWindow::setShown(const QString& control, bool shown) {
    designed(Form::Form1, control);
    if (shown) hidden.remove(control);
    else hidden.insert(control);
}

void FakeMainWindow::setChecked(const QString& control, bool on) {
    designed(Form::Form1, control);
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
