// The main window as the logic sees it: controls and windows by design name.
#include "AccessKeys.h"
#include "AnalyserPanel.h"
#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "Form5.h"
#include "Form6.h"
#include "Form7.h"
#include "Form8.h"
#include "Form9.h"
#include "FrmAbout.h"
#include "GeneratorWindow.h"
#include "ModePresentation.h"
#include "OutputStatus.h"
#include "OwnTexts.h"
#include "PictureBox.h"
#include "Platform.h"
#include "Program.h"
#include "WindowLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <cstdio>

namespace tonara {

namespace {

// A menu caption gets an access key that no other item of the same menu has.
void setMenuText(QAction* action, const QString& caption) {
    QString taken;
    for (QObject* owner : action->associatedObjects())
        if (auto* menu = qobject_cast<QWidget*>(owner))
            for (QAction* sibling : menu->actions())
                if (sibling != action && !accessKeyOf(sibling->text()).isNull()) taken += accessKeyOf(sibling->text());
    action->setText(withAccessKey(caption, taken));
}

void setTextOf(QObject* o, const QString& text) {
    if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(o)) l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(o)) e->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(text);
    else if (auto* m = qobject_cast<QMenu*>(o)) setMenuText(m->menuAction(), text);
    else if (auto* a = qobject_cast<QAction*>(o)) setMenuText(a, text);
    else if (auto* w = qobject_cast<QWidget*>(o)) w->setWindowTitle(text);
}

QString textOf(const QObject* o) {
    if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(o)) return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(o)) return g->title();
    if (auto* m = qobject_cast<const QMenu*>(o)) return withoutAccessKey(m->title());
    if (auto* a = qobject_cast<const QAction*>(o)) return withoutAccessKey(a->text());
    return {};
}

} // namespace

// A name that is none of the window's controls is a fault of the caller,
// reported as the test window reports it, not passed over in silence.
QObject* Form1::control(MainControl name) const {
    const QLatin1StringView text(name.name());
    auto cached = controls_.constFind(QByteArray::fromRawData(text.data(), text.size()));
    if (cached != controls_.cend() && *cached && (*cached)->objectName() == text) return *cached;
    QObject* found = findChild<QObject*>(name);
    if (!found) std::fprintf(stderr, "Tonara: Form1 has no control named \"%s\"\n", name.name());
    else controls_.insert(QByteArray(text.data(), text.size()), found);
    return found;
}

void Form1::setCaption(MainControl name, const QString& text) {
    if (QObject* o = control(name)) setTextOf(o, text);
}

QString Form1::caption(MainControl name) const {
    const QObject* o = control(name);
    return o ? textOf(o) : QString();
}

void Form1::setEnabled(MainControl name, bool enabled) {
    QObject* o = control(name);
    if (auto* m = qobject_cast<QMenu*>(o)) m->menuAction()->setEnabled(enabled);
    else if (auto* a = qobject_cast<QAction*>(o)) a->setEnabled(enabled);
    else if (auto* w = qobject_cast<QWidget*>(o)) w->setEnabled(enabled);
    // The typed pitch goes with the slider it is bound to.
    if (name == form1::HScroll1) {
        customPitch_->setEnabled(enabled);
        customPitchLabel_->setEnabled(enabled);
    }
}

bool Form1::isEnabled(MainControl name) const {
    const QObject* o = control(name);
    if (auto* m = qobject_cast<const QMenu*>(o)) return m->menuAction()->isEnabled();
    if (auto* a = qobject_cast<const QAction*>(o)) return a->isEnabled();
    if (auto* w = qobject_cast<const QWidget*>(o)) return !w->testAttribute(Qt::WA_Disabled);
    return false;
}

void Form1::setShown(MainControl name, bool shown) {
    if (auto* w = qobject_cast<QWidget*>(control(name))) w->setVisible(shown);
}

void Form1::setChecked(MainControl name, bool checked) {
    QObject* o = control(name);
    if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setChecked(checked);
    else if (auto* a = qobject_cast<QAction*>(o)) a->setChecked(checked);
}

bool Form1::isChecked(MainControl name) const {
    const QObject* o = control(name);
    if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->isChecked();
    if (auto* a = qobject_cast<const QAction*>(o)) return a->isChecked();
    return false;
}

int Form1::sliderValue() const { return hscroll1_->value(); }

void Form1::setStatusText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) panels_[size_t(panel)]->setText(text);
}

QString Form1::statusText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[size_t(panel)]->text() : QString();
}

void Form1::setFormCaption(FormControl control, const QString& text) {
    if (QWidget* w = loadedForm(control.form)) {
        if (QObject* o = w->findChild<QObject*>(control.text())) setTextOf(o, text);
        else
            std::fprintf(stderr, "Tonara: %s has no control named \"%s\"\n", qPrintable(w->objectName()),
                         control.name);
    }
}

QWidget* Form1::loadedForm(Form form) const {
    const auto it = forms_.find(form);
    return it == forms_.end() ? nullptr : it->second.data();
}

// Windows that are part of this build load on first use, as they would on first reference.
QWidget* Form1::loadForm(Form form) {
    if (QWidget* w = loadedForm(form)) return w;
    QWidget* w = nullptr;
    switch (form) {
    case Form::Form2: w = new Form2(*this); break;
    case Form::Form3: w = new Form3(*this); break;
    case Form::Form4: w = new Form4(*this); break;
    case Form::Form5: w = new Form5(*this); break;
    case Form::Form6: w = new Form6(*this); break;
    case Form::Form7: w = new Form7(*this); break;
    case Form::Form8: w = new Form8; break;
    case Form::Form9: w = new Form9(*this); break;
    case Form::frmAbout: w = new FrmAbout(*this); break;
    default: return nullptr;
    }
    forms_[form] = w;
    if (auto* loading = dynamic_cast<LoadHandler*>(w)) loading->loadHandler();
    tonara::followLanguage(w, state_.lang);
    return w;
}

void Form1::followLanguage() {
    loadQtTranslations(state_.lang);
    tonara::followLanguage(this, state_.lang);
    // Menu captions get their access keys where they are set.
    const std::pair<MainControl, const char*> ownMenus[] = {{form1::tools, "Tools"},
                                                            {form1::signalgenerator, "Signal generator..."}};
    for (const auto& [menu, english] : ownMenus) setCaption(menu, ownText(english, state_.lang));
    setStatusText(3, outputStatusText(platform().outputRate(), 0, state_.lang));
    analyser_->setLanguage(state_.lang);
    for (const auto& [form, window] : forms_)
        if (window) tonara::followLanguage(window, state_.lang);
    if (generator_) tonara::followLanguage(generator_, state_.lang);
}

bool Form1::isFormVisible(Form form) const {
    if (form == Form::Form1) return isVisible();
    const QWidget* w = loadedForm(form);
    return w && w->isVisible();
}

void Form1::showForm(Form form) {
    if (form == Form::Form1) {
        hiddenByStartup_ = false;
        show();
    } else if (auto* player = qobject_cast<Form9*>(loadForm(form))) {
        player->loadHandler(); // it shows itself unless its file is invisible
    } else if (QWidget* w = loadForm(form)) {
        w->show();
        w->raise();
    }
}

void Form1::hideForm(Form form) {
    if (form == Form::Form1) {
        hiddenByStartup_ = true;
        hide();
    } else if (QWidget* w = loadedForm(form)) {
        w->hide();
    }
}

void Form1::unloadForm(Form form) {
    if (form == Form::Form1) {
        unloadHandler();
        return;
    }
    QWidget* w = loadedForm(form);
    if (!w) return;
    forms_.erase(form);
    w->hide();
    w->deleteLater(); // it may be the window whose handler is running
}

void Form1::fillUpdateWindow(const UpdateOffer& offer) {
    if (auto* w = qobject_cast<Form7*>(loadForm(Form::Form7))) w->fill(offer);
}

void Form1::drawSine(qint16 pitch, qint16 mode) {
    Program program(*this);
    ModePresentation(program, *picture1_).DrawSine(pitch, mode);
}

void Form1::addErrorLines(const QStringList& lines) {
    if (auto* w = qobject_cast<Form6*>(loadForm(Form::Form6))) w->addLines(lines);
}

// A shut-down on a termination request that fails is not held up by the
// report's window: the request was to end (the log is written all the same).
bool Form1::errorWindowLeft() const {
    if (endingOnRequest_) return true;
    const auto* w = qobject_cast<const Form6*>(loadedForm(Form::Form6));
    return !w || w->left();
}

void Form1::setSplashStatus(const QString& text) {
    if (auto* splash = qobject_cast<Form8*>(loadedForm(Form::Form8))) splash->setStatus(text);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->ignore(); // the shut-down sequence ends the program itself
    unloadHandler();
}

} // namespace tonara
