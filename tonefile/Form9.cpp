#include "Form9.h"
#include "ExternalTone.h"
#include "NamedControl.h"
#include "ErrorLocations.h"
#include "ErrorWindowExit.h"
#include "FormNames.h"
#include "Platform.h"
#include "Trap.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace tonara {

Form9::Form9(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form9");
    setWindowTitle("Tonara");
    label1_ = named(new QLabel("0", this), form9::Label1);
    label2_ = named(new QLabel("0", this), form9::Label2);
    label4_ = named(new QLabel(this), form9::Label4);
    label4_->setWordWrap(true);
    label6_ = named(new QLabel(this), form9::Label6);
    label8_ = named(new QLabel(this), form9::Label8);
    progressBar1_ = named(new QProgressBar(this), form9::ProgressBar1);
    progressBar1_->setTextVisible(false);
    progressBar1_->setAccessibleName("Tones played");
    command1_ = named(new QPushButton("(Re)play", this), form9::Command1);
    command2_ = named(new QPushButton("Stop", this), form9::Command2);
    command3_ = named(new QPushButton("Exit", this), form9::Command3);
    buildLayout();

    connect(command1_, &QPushButton::clicked, this, &Form9::replayClicked);
    connect(command2_, &QPushButton::clicked, this, &Form9::stopClicked);
    connect(command3_, &QPushButton::clicked, this, &Form9::exitClicked);
}

void Form9::buildLayout() {
    auto caption = [this](form9::Name name, const char* text, QLabel* value) {
        auto* label = named(new QLabel(text, this), name);
        label->setBuddy(value);
        return label;
    };
    auto* grid = new QGridLayout(this);
    grid->addWidget(caption(form9::Label3, "Playing:", label4_), 0, 0, Qt::AlignTop);
    grid->addWidget(label4_, 0, 1, 1, 3);
    grid->addWidget(caption(form9::Label5, "Pitch:", label6_), 1, 0);
    grid->addWidget(label6_, 1, 1, 1, 3);
    grid->addWidget(caption(form9::Label7, "Time (ms):", label8_), 2, 0);
    grid->addWidget(label8_, 2, 1, 1, 3);
    // Tones played, on the left of the bar, and the tone count, on its right.
    grid->addWidget(label1_, 3, 0, Qt::AlignRight);
    grid->addWidget(progressBar1_, 3, 1, 1, 2);
    grid->addWidget(label2_, 3, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    buttons->addWidget(command3_);
    grid->addLayout(buttons, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1); // a long tone text gets the room the window gains
    setMinimumWidth(420);
}

void Form9::setInputs(const QString& filePath, const QString& modeText) {
    filePath_ = filePath;
    modeText_ = modeText;
}

void Form9::loadHandler() {
    trapped(mainWindow_, errol::PlayerLoad, [&] {
        if (mainWindow_.isFormVisible(Form::Form3)) mainWindow_.unloadForm(Form::Form3);
        if (loadGuard_ == 1) return;
        loadGuard_ = 1;
        mainWindow_.state().microcheck = 0;
        killTonePrograms();
        label4_->setText(filePath_);
        if (!readFile()) {
            unloadHandler();
            return;
        }
        command1_->setEnabled(false);
        if (toneFile_.visibility == 0) show();
        label1_->setText("0");
        runPass();
    });
}

// False when the file is rejected, after its message.
bool Form9::readFile() {
    const ToneFileReading reading = readToneFile(filePath_);
    switch (reading.verdict) {
    case ToneFileReading::Verdict::Accepted:
        toneFile_ = reading.file;
        label2_->setText(QString::number(toneFile_.tones.size()));
        return true;
    case ToneFileReading::Verdict::Illegal:
        trapped(mainWindow_, errol::PlayerIllegalFile, [&] {
            platform().messageBox(filePath_ + " is not a legal tnf file!", "Error", MessageIcon::Critical,
                                  MessageButtons::Ok);
        });
        return false;
    case ToneFileReading::Verdict::TooNew:
        trapped(mainWindow_, errol::PlayerFileTooNew, [&] {
            platform().messageBox("Your Tonara version is not compatible with this file!", "Error",
                                  MessageIcon::Exclamation, MessageButtons::Ok);
        });
        return false;
    }
    return false;
}

void Form9::replayClicked() {
    trapped(mainWindow_, errol::PlayerReplayClicked, [&] {
        command1_->setEnabled(false);
        killTonePrograms();
        runPass();
    });
}

void Form9::stopClicked() {
    trapped(mainWindow_, errol::PlayerStopClicked, [&] {
        stopFlag_ = 1;
        command1_->setEnabled(true);
    });
}

void Form9::exitClicked() {
    trapped(mainWindow_, errol::PlayerExitClicked, [&] {
        stopFlag_ = 1;
        unloadHandler();
    });
}

void Form9::unloadHandler() {
    // Closing the main window runs its shut-down, which ends the program.
    trapped(mainWindow_, errol::PlayerUnload, [&] { closeEveryWindow(mainWindow_); });
    platform().endProgram(0);
}

void Form9::closeEvent(QCloseEvent* event) {
    event->ignore(); // the unload ends the program itself
    unloadHandler();
}

} // namespace tonara
