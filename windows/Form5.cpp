#include "Form5.h"
#include "AgreementTexts.h"
#include "Folders.h"
#include "FormNames.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "TextFile.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>

namespace tonara {

Form5::Form5(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form5");
    setWindowTitle("License agreements");
    auto make = [this](QLabel*& l, form5::Name name) {
        l = new QLabel(this);
        l->setObjectName(name);
        l->setWordWrap(true);
    };
    make(label1_, form5::Label1);
    make(label4_, form5::Label4);
    make(label7_, form5::Label7);
    label7_->setWordWrap(false);
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(form5::Combo1);
    combo1_->setPlaceholderText("English");
    check1_ = new QCheckBox(this);
    check1_->setObjectName(form5::Check1);
    command1_ = new QPushButton(this);
    command1_->setObjectName(form5::Command1);
    command2_ = new QPushButton(this);
    command2_->setObjectName(form5::Command2);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1_, 0, 0, 1, 3);
    layout->addWidget(label4_, 1, 0, 1, 3);
    layout->addWidget(label7_, 2, 0);
    layout->addWidget(combo1_, 2, 1);
    layout->addWidget(check1_, 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    layout->addLayout(buttons, 4, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    setFixedWidth(480);
    applyTexts(false);

    connect(combo1_, &QComboBox::activated, this, &Form5::languageClicked);
    connect(command1_, &QPushButton::clicked, this, &Form5::acceptClicked);
    connect(command2_, &QPushButton::clicked, this, &Form5::dontAcceptClicked);
    loadHandler();
}

void Form5::applyTexts(bool dutch) {
    const AgreementTexts& t = agreementTexts(dutch);
    label1_->setText(t.label1);
    label4_->setText(t.label4);
    label7_->setText(t.label7);
    check1_->setText(t.check1);
    command1_->setText(t.command1);
    command2_->setText(t.command2);
    combo1_->setAccessibleName(t.label7);
}

void Form5::loadHandler() {
    if (loadGuard_ == 1) return;
    loadGuard_ = 1;
    combo1_->addItem("English");
    combo1_->addItem("Dutch");
    combo1_->setCurrentIndex(-1);
    try {
        deleteIfExists(joinPath(platform().dataFolder(), "nl.ini"));
    } catch (const RuntimeError&) {
        // A marker that cannot be removed only keeps the about box in Dutch.
    }
}

void Form5::languageClicked(int index) { applyTexts(index == 1); }

void Form5::acceptClicked() {
    const bool dutch = combo1_->currentIndex() == 1;
    const bool noData = check1_->isChecked();
    const QString path = joinPath(appDataFolder(), "tonara.ini");
    try {
        replaceLines(path, firstRunSettings(dutch, noData));
    } catch (const RuntimeError& failure) {
        // Restarting would only bring the user back here: say why and stay.
        platform().messageBox(
            (dutch ? "De instellingen konden niet worden opgeslagen in " : "The settings could not be saved to ") + path +
                " (" + failure.description() + ").",
            windowTitle(), MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    MainState& s = mainWindow_.state();
    if (dutch) s.lang = "nl";
    s.snd = noData ? 0 : 1;
    mainWindow_.setChecked(form1::autoupdate, true);
    try {
        platform().startProgram('"' + platform().programPath() + '"', false);
    } catch (const RuntimeError& failure) {
        platform().messageBox(failure.description(), windowTitle(), MessageIcon::Exclamation, MessageButtons::Ok);
    }
    for (Form f : {Form::Form1, Form::Form2, Form::Form3, Form::Form4, Form::Form6, Form::Form7, Form::Form8, Form::Form9,
                   Form::Form5})
        mainWindow_.unloadForm(f);
    platform().endProgram(0);
}

void Form5::dontAcceptClicked() {
    for (Form f : {Form::Form1, Form::Form2, Form::Form3, Form::Form4, Form::Form5, Form::Form6, Form::Form7, Form::Form8})
        mainWindow_.unloadForm(f);
    platform().endProgram(0);
}

void Form5::closeEvent(QCloseEvent* event) {
    mainWindow_.unloadForm(Form::Form8);
    event->accept();
    // With the main window hidden nothing would be left to end the program.
    if (!mainWindow_.isFormVisible(Form::Form1)) dontAcceptClicked();
}

} // namespace tonara
