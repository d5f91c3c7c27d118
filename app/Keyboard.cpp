// The window without a pointer: menus by Alt and access keys or F10, the
// usual shortcuts, Space or Enter on a mode to play it, Escape to stop, and
// a tab order that follows the window's design.
#include "Form1.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

namespace tonara {

namespace {

bool isPlayKey(const QKeyEvent* key) {
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    return plain && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

} // namespace

void Form1::buildKeyboard() {
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] { pitchHelpClicked(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (isEnabled(form1::Command3)) stopClicked();
    });

    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous) setTabOrder(previous, next);
        previous = next;
    };
    for (int k = 1; k <= 9; ++k) {
        options_[size_t(k)]->installEventFilter(this);
        chain(options_[size_t(k)]);
    }
    for (MainControl name : {form1::HScroll1, form1::CustomPitchBox, form1::Command1, form1::Command2, form1::Command3,
                             form1::Volume, form1::Command5, form1::Command4, form1::Trigger, form1::Spectrum,
                             form1::Freeze, form1::Input})
        chain(findChild<QWidget*>(name));
    options_[1]->setFocus();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isPlayKey(static_cast<QKeyEvent*>(event)))
        return QMainWindow::eventFilter(watched, event);
    for (int k = 1; k <= 9; ++k) {
        if (watched != options_[size_t(k)]) continue;
        playFromKeyboard(k);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Choosing a preset starts its animated preview, which runs until another
// choice: Play is queued first so that it runs inside it, as a click would.
void Form1::playFromKeyboard(int option) {
    auto playIfAllowed = [this] {
        if (isEnabled(form1::Command2)) playClicked();
    };
    if (options_[size_t(option)]->isChecked()) {
        playIfAllowed();
        return;
    }
    QTimer::singleShot(0, this, playIfAllowed);
    options_[size_t(option)]->setChecked(true);
}

} // namespace tonara
