#pragma once
// What the program's logic sees of the main window and the other windows:
// the ten public variables, the controls by their design names, and the
// windows by their form names. The Qt main window implements it; tests use
// a recording fake.

#include "FormNames.h"
#include "MainWindowNames.h"

#include <QString>
#include <QStringList>

namespace tonara {

// The main window's public variables, in their order.
struct MainState {
    qint16 z = 0;
    QString bit;
    QString lang;
    qint16 snd = 0;
    qint16 updater = 0;
    qint16 stopme = 0;
    qint16 sensmicro = 0;
    qint16 microcheck = 0;
    QString acctoon1;
    QString microphonetxt1;
};

// What the update window shows; an empty text keeps the window's design text.
struct UpdateOffer {
    QString caption, message, updateButton, dontUpdateButton;
    QStringList lines;
    QString link;
};

class MainWindow {
public:
    virtual ~MainWindow() = default;

    virtual MainState& state() = 0;

    // Controls and menu items of the main window, by design name
    // (form1::Option3, form1::Label10, form1::english).
    virtual void setCaption(MainControl control, const QString& text) = 0;
    virtual QString caption(MainControl control) const = 0;
    virtual void setEnabled(MainControl control, bool enabled) = 0;
    virtual bool isEnabled(MainControl control) const = 0;
    virtual void setShown(MainControl control, bool shown) = 0;
    // Option values, menu check marks.
    virtual void setChecked(MainControl control, bool checked) = 0;
    virtual bool isChecked(MainControl control) const = 0;
    virtual int sliderValue() const = 0;
    // Status bar panels, numbered from 1.
    virtual void setStatusText(int panel, const QString& text) = 0;
    virtual QString statusText(int panel) const = 0;

    // Captions of controls in the other windows (pitch help, Morse window, about box).
    virtual void setFormCaption(FormControl control, const QString& text) = 0;

    // Windows.
    virtual bool isFormVisible(Form form) const = 0;
    virtual void showForm(Form form) = 0;
    virtual void hideForm(Form form) = 0;
    virtual void unloadForm(Form form) = 0;

    // Fills the update window (loading it when needed); showForm shows it.
    virtual void fillUpdateWindow(const UpdateOffer& offer) = 0;

    // The static or animated sine preview of the main window.
    virtual void drawSine(qint16 pitch, qint16 mode) = 0;

    // The error window: its list, and whether the user has left it
    // (Exit pressed or the window closed).
    virtual void addErrorLines(const QStringList& lines) = 0;
    virtual bool errorWindowLeft() const = 0;
};

} // namespace tonara
