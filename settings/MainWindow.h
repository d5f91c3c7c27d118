#pragma once
// What the program's logic sees of the main window and the other windows:
// the ten public variables, the controls by their design names, and the
// windows by their form names. The Qt main window implements it; tests use
// a recording fake.

#include <QString>
#include <QStringList>

namespace tonara {

enum class Form { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9, frmAbout };

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
    // ("Option3", "Label10", "Frame4", "Command2", "english", "settings").
    virtual void setCaption(const QString& control, const QString& text) = 0;
    virtual QString caption(const QString& control) const = 0;
    virtual void setEnabled(const QString& control, bool enabled) = 0;
    virtual bool isEnabled(const QString& control) const = 0;
    virtual void setShown(const QString& control, bool shown) = 0;
    // Option values, menu check marks.
    virtual void setChecked(const QString& control, bool checked) = 0;
    virtual bool isChecked(const QString& control) const = 0;
    virtual int sliderValue() const = 0;
    // Status bar panels, numbered from 1.
    virtual void setStatusText(int panel, const QString& text) = 0;
    virtual QString statusText(int panel) const = 0;

    // Captions of controls in the other windows (pitch help, Morse window, about box).
    virtual void setFormCaption(Form form, const QString& control, const QString& text) = 0;

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
