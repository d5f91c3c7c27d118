#include "Form4.h"
#include "DesignName.h"
#include "ExFunctions.h"
#include "MorseCode.h"
#include "MorseInput.h"
#include "MorseTiming.h"
#include "NumericKeyFilter.h"
#include "Platform.h"
#include "Program.h"
#include "Sound.h"
#include "Trap.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace tonara {

namespace {

QFrame* line(const char* name, QWidget* parent) {
    auto* l = named(new QFrame(parent), name);
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

// Shows the message of a corrected box and puts the replacement into it.
void applyCorrection(const BoxReading& reading, QLineEdit* box) {
    if (!reading.correction) return;
    platform().messageBox(reading.correction->message, reading.correction->title, MessageIcon::Exclamation,
                          MessageButtons::Ok);
    box->setText(reading.correction->boxText);
}

} // namespace

Form4::Form4(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form4");
    setWindowTitle("Morse");
    text1_ = named(new QLineEdit(this), "Text1");
    text1_->setMinimumWidth(360);
    label3_ = named(new QLabel("Text:", this), "Label3");
    text2_ = named(new QLineEdit("0", this), "Text2");
    label1_ = named(new QLabel("Speed (normal + this (ms)) (higher is slower):", this), "Label1");
    text3_ = named(new QLineEdit("700", this), "Text3");
    label2_ = named(new QLabel("Pitch (Hertz):", this), "Label2");
    check1_ = named(new QCheckBox("Hide input", this), "Check1");
    command1_ = named(new QPushButton("Play sound", this), "Command1");
    command2_ = named(new QPushButton("Stop sound", this), "Command2");
    command2_->setEnabled(false);
    label3_->setBuddy(text1_);
    label1_->setBuddy(text2_);
    label2_->setBuddy(text3_);
    nameBoxesAfterTheirLabels();
    installNumericKeyFilter(text2_);
    installNumericKeyFilter(text3_);
    buildLayout();

    connect(check1_, &QCheckBox::toggled, this, &Form4::hideInputClicked);
    connect(command1_, &QPushButton::clicked, this, &Form4::playClicked);
    connect(command2_, &QPushButton::clicked, this, &Form4::stopClicked);
}

void Form4::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(label3_, 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(check1_, 1, 1);
    grid->addWidget(line("Line1", this), 2, 0, 1, 2);
    grid->addWidget(label1_, 3, 0);
    grid->addWidget(text2_, 3, 1);
    grid->addWidget(label2_, 4, 0);
    grid->addWidget(text3_, 4, 1);
    grid->addWidget(line("Line2", this), 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    grid->addLayout(buttons, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

// Screen readers announce a box by its label, in the language in force.
void Form4::nameBoxesAfterTheirLabels() {
    for (QLabel* label : {label3_, label1_, label2_}) label->buddy()->setAccessibleName(label->text());
}

void Form4::loadHandler() {
    trapped(mainWindow_, 404, [&] {
        if (loadGuard_ == 1) return;
        loadGuard_ = 1;
        stopRequest_ = 1;
        check1_->setChecked(false);
        text1_->setText("Type your message here...");
        if (mainWindow_.state().lang == "nl") Program(mainWindow_).LanguageAPI("nl", 4);
        nameBoxesAfterTheirLabels();
        loadGuard_ = 0;
    });
}

void Form4::hideInputClicked() {
    trapped(mainWindow_, 401, [&] {
        const bool shown = !check1_->isChecked();
        text1_->setVisible(shown);
        label3_->setVisible(shown);
    });
}

void Form4::playClicked() {
    trapped(mainWindow_, 402, [&] {
        takeSpeedAndPitch();
        fillPositions();
        position_ = 1;
        stopRequest_ = 0;
        setKeying(true);
        key();
    });
}

void Form4::takeSpeedAndPitch() {
    const BoxReading speed = readSpeedBox(text2_->text());
    applyCorrection(speed, text2_);
    const BoxReading pitch = readPitchBox(text3_->text());
    applyCorrection(pitch, text3_);
    speed_ = speed.value;
    pitch_ = pitch.value;
}

void Form4::fillPositions() {
    const QList<uint> message = text1_->text().toUcs4();
    for (int i = 1; i <= kPositions; ++i) positions_[size_t(i)] = i <= message.size() ? char32_t(message[i - 1]) : 0;
}

// Events are served once per position, so Stop and Close take effect after
// the character that is sounding and its pause.
void Form4::key() {
    const quint32 run = ++runSerial_;
    const QPointer<Form4> self(this);
    const MorseTiming timing = morseTiming(speed_);
    ExFunctions ex;
    for (;;) {
        platform().processEvents();
        if (!self || runSerial_ != run) return;
        // Stop or Close in this turn: nothing more sounds.
        if (stopRequest_ == 1) {
            stopRequest_ = 0;
            return;
        }
        ex.delay(kPauseBeforePosition);
        const char32_t c = morseUpper(positions_[size_t(position_)]);
        if (c != 0 && !morseAccepts(c)) {
            platform().messageBox("Illegal character: " + QString::fromUcs4(&c, 1), "Illegal character",
                                  MessageIcon::Exclamation, MessageButtons::Ok);
            if (!self || runSerial_ != run) return;
        }
        for (const KeyStep& step : keyingSteps(c, timing)) {
            if (step.kind == KeyStep::Kind::Tone) ex.sound(mainWindow_, pitch_, step.ms);
            else ex.delay(step.ms);
        }
        ++position_;
        if (!mainWindow_.isFormVisible(Form::Form1) || !isVisible()) closeWindow();
        if (position_ > kPositions || positions_[size_t(position_)] == 0) {
            setKeying(false);
            return;
        }
        if (stopRequest_ == 1) {
            stopRequest_ = 0;
            return;
        }
    }
}

void Form4::setKeying(bool keying) {
    command1_->setEnabled(!keying);
    command2_->setEnabled(keying);
}

void Form4::stopClicked() {
    trapped(mainWindow_, 403, [&] {
        sound(mainWindow_).KillAll();
        setKeying(false);
        stopRequest_ = 1;
    });
}

void Form4::closeWindow() {
    stopRequest_ = 1;
    mainWindow_.unloadForm(Form::Form4);
}

void Form4::closeEvent(QCloseEvent* event) {
    closeWindow();
    event->accept();
}

} // namespace tonara
