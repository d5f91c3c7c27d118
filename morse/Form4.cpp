#include "Form4.h"
#include "NamedControl.h"
#include "ErrorLocations.h"
#include "ExFunctions.h"
#include "FormNames.h"
#include "KeyingPlan.h"
#include "KeyingSound.h"
#include "MorseCode.h"
#include "MorseInput.h"
#include "MorseTiming.h"
#include "NumericKeyFilter.h"
#include "OutputBand.h"
#include "OwnTexts.h"
#include "Platform.h"
#include "Program.h"
#include "RuntimeError.h"
#include "Sound.h"
#include "SoundFile.h"
#include "Trap.h"
#include "WindowAccessibility.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace tonara {

namespace {

constexpr int kSavedRate = 48000;
// Higher than any output rate, so that a pitch the output cannot carry is
// filtered out by its converter, as for every other tone, rather than folded.
constexpr int kWidestRate = 192000;

QFrame* line(form4::Name name, QWidget* parent) {
    auto* l = named(new QFrame(parent), name);
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    markDecoration(l);
    return l;
}

// Shows the message of a corrected box and puts the replacement into it.
void applyCorrection(const BoxReading& reading, QLineEdit* box) {
    if (!reading.correction) return;
    platform().messageBox(reading.correction->message, reading.correction->title, MessageIcon::Exclamation,
                          MessageButtons::Ok);
    box->setText(reading.correction->boxText);
}

QSpinBox* spinBox(form4::Name name, int lowest, int highest, int value, QWidget* parent) {
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(lowest, highest);
    box->setValue(value);
    return box;
}

void announce(const std::vector<char32_t>& illegal) {
    for (const char32_t c : illegal)
        platform().messageBox("Illegal character: " + QString::fromUcs4(&c, 1), "Illegal character",
                              MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace

Form4::Form4(MainWindow& mainWindow, QWidget* parent) : QWidget(parent, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("Form4");
    setWindowTitle("Morse");
    text1_ = named(new QLineEdit(this), form4::Text1);
    text1_->setMinimumWidth(240);
    label3_ = named(new QLabel("Text:", this), form4::Label3);
    text2_ = named(new QLineEdit("0", this), form4::Text2);
    label1_ = named(new QLabel("Speed (normal + this (ms)) (higher is slower):", this), form4::Label1);
    text3_ = named(new QLineEdit("700", this), form4::Text3);
    label2_ = named(new QLabel("Pitch (Hertz):", this), form4::Label2);
    check1_ = named(new QCheckBox("Hide input", this), form4::Check1);
    command1_ = named(new QPushButton("Play sound", this), form4::Command1);
    command2_ = named(new QPushButton("Stop sound", this), form4::Command2);
    command2_->setEnabled(false);
    saveAs_ = named(new QPushButton("Save as...", this), form4::SaveAs);
    saveAs_->setAccessibleName("Save as...");
    buildTimingGroup();
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
    connect(saveAs_, &QPushButton::clicked, this, &Form4::saveAsClicked);
    connect(standard_, &QRadioButton::toggled, this, &Form4::timingChanged);
    for (QSpinBox* box : {wpm_, characterWpm_, riseTime_})
        connect(box, &QSpinBox::valueChanged, this, &Form4::timingChanged);
    showTimingControls();
    // Opens as wide as the design's, with room for a message; narrower only by hand.
    resize(sizeHint().expandedTo(QSize(520, 0)));
}

Form4::~Form4() = default;

void Form4::buildTimingGroup() {
    timing_ = named(new QGroupBox("Timing", this), form4::Timing);
    timing_->setAccessibleName("Timing");
    classic_ = named(new QRadioButton("Classic", timing_), form4::Classic);
    standard_ = named(new QRadioButton("Standard", timing_), form4::Standard);
    classic_->setAccessibleName("Classic");
    standard_->setAccessibleName("Standard");
    classic_->setChecked(true);
    wpmLabel_ = named(new QLabel("Speed (WPM):", timing_), form4::WpmLabel);
    wpm_ = spinBox(form4::Wpm, kLowestWpm, kHighestWpm, kDefaultWpm, timing_);
    characterWpmLabel_ = named(new QLabel("Character speed (WPM):", timing_), form4::CharacterWpmLabel);
    characterWpm_ = spinBox(form4::CharacterWpm, kLowestWpm, kHighestWpm, kDefaultWpm, timing_);
    riseTimeLabel_ = named(new QLabel("Rise time (ms):", timing_), form4::RiseTimeLabel);
    riseTime_ = spinBox(form4::RiseTime, kLowestRiseMs, kHighestRiseMs, kDefaultRiseMs, timing_);
    wpmLabel_->setBuddy(wpm_);
    characterWpmLabel_->setBuddy(characterWpm_);
    riseTimeLabel_->setBuddy(riseTime_);

    auto* layout = new QGridLayout(timing_);
    auto* choices = new QHBoxLayout;
    choices->addWidget(classic_);
    choices->addWidget(standard_);
    choices->addStretch();
    layout->addLayout(choices, 0, 0, 1, 2);
    layout->addWidget(wpmLabel_, 1, 0);
    layout->addWidget(wpm_, 1, 1);
    layout->addWidget(characterWpmLabel_, 2, 0);
    layout->addWidget(characterWpm_, 2, 1);
    layout->addWidget(riseTimeLabel_, 3, 0);
    layout->addWidget(riseTime_, 3, 1);
    layout->setColumnStretch(1, 1);
}

void Form4::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(label3_, 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(check1_, 1, 1);
    grid->addWidget(line(form4::Line1, this), 2, 0, 1, 2);
    // The longest caption (longer still in Dutch) has a row of its own above
    // its box, so the window fits a small screen at a larger font.
    grid->addWidget(label1_, 3, 0, 1, 2);
    grid->addWidget(text2_, 4, 1);
    grid->addWidget(label2_, 5, 0);
    grid->addWidget(text3_, 5, 1);
    grid->addWidget(timing_, 6, 0, 1, 2);
    grid->addWidget(line(form4::Line2, this), 7, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveAs_);
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    grid->addLayout(buttons, 8, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

// Screen readers announce a box by its label, in the language in force.
void Form4::nameBoxesAfterTheirLabels() {
    for (QLabel* label : {label3_, label1_, label2_, wpmLabel_, characterWpmLabel_, riseTimeLabel_})
        label->buddy()->setAccessibleName(label->text());
}

void Form4::loadHandler() {
    trapped(mainWindow_, errol::MorseLoad, [&] {
        if (loadGuard_ == 1) return;
        loadGuard_ = 1;
        stopRequest_ = 1;
        check1_->setChecked(false);
        text1_->setText("Type your message here...");
        if (mainWindow_.state().lang == "nl") Program(mainWindow_).LanguageAPI("nl", 4);
        nameBoxesAfterTheirLabels();
        showChoices(loadMorseSettings());
        loadGuard_ = 0;
    });
}

void Form4::hideInputClicked() {
    trapped(mainWindow_, errol::MorseHideInputClicked, [&] {
        const bool shown = !check1_->isChecked();
        text1_->setVisible(shown);
        label3_->setVisible(shown);
    });
}

void Form4::playClicked() {
    trapped(mainWindow_, errol::MorsePlayClicked, [&] {
        if (standard_->isChecked()) return keyStandard();
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
    speed_ = speed.value;
    takePitch();
}

void Form4::takePitch() {
    const BoxReading pitch = readPitchBox(text3_->text());
    applyCorrection(pitch, text3_);
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

KeyingPlan Form4::plan() {
    KeyingPlan made;
    if (standard_->isChecked()) {
        takePitch();
        made = standardPlan(text1_->text(), standardTiming({wpm_->value(), characterWpm_->value()}));
    } else {
        takeSpeedAndPitch();
        made = classicPlan(text1_->text(), morseTiming(speed_));
    }
    announce(made.illegal);
    return made;
}

double Form4::riseMs() const { return standard_->isChecked() ? riseTime_->value() : kClassicRiseMs; }

// The whole message is one sound on one stream, so its timing is the
// sound's own. Stop silences it at once (the output's short fade), not at
// the end of the element.
void Form4::keyStandard() {
    const quint32 run = ++runSerial_;
    const QPointer<Form4> self(this);
    stream_.reset();
    const KeyingPlan keyed = plan();
    if (!self || runSerial_ != run || keyed.spans.empty()) return;
    int rate = platform().outputRate();
    if (!carriesAtFullLevel(rate, pitch_)) rate = kWidestRate;
    const auto sound = renderKeying(keyed, pitch_, rate, riseMs());
    try {
        stream_ = platform().openSoundStream(sound);
    } catch (const RuntimeError& e) {
        platform().messageBox(own("The message cannot be played: ") + e.description(), "Morse", MessageIcon::Exclamation,
                              MessageButtons::Ok);
        return;
    }
    stopRequest_ = 0;
    setKeying(true);
    stream_->play(false);
    const int ms = int(std::ceil(sound->frameCount() * 1000.0 / rate));
    platform().serveEvents(ms, [&] {
        return !self || runSerial_ != run || stopRequest_ == 1 || !mainWindow_.isFormVisible(Form::Form1) ||
               !isVisible();
    });
    if (!self || runSerial_ != run) return;
    if (!mainWindow_.isFormVisible(Form::Form1) || !isVisible()) return closeWindow();
    if (stopRequest_ == 1) {
        stopRequest_ = 0;
        return;
    }
    setKeying(false);
}

QString Form4::own(const char* english) const { return ownText(english, mainWindow_.state().lang); }

void Form4::saveAsClicked() {
    trapped(mainWindow_, errol::MorseSaveAsClicked, [&] {
        const QPointer<Form4> self(this);
        const KeyingPlan keyed = plan();
        if (!self) return;
        if (keyed.spans.empty()) {
            platform().messageBox(own("There is nothing to save: the message has no character to key."), own("Save as"),
                                  MessageIcon::Exclamation, MessageButtons::Ok);
            return;
        }
        if (!carriesAtFullLevel(kSavedRate, pitch_)) {
            platform().messageBox(own("A file at %1 Hz cannot hold a pitch of %2 Hertz.").arg(kSavedRate).arg(pitch_),
                                  own("Save as"), MessageIcon::Exclamation, MessageButtons::Ok);
            return;
        }
        const QString path = platform().saveFileName(own("WAV files") + " (*.wav)|*.wav", "morse.wav");
        if (path.isEmpty()) return;
        try {
            writeSoundFile(path, *renderKeying(keyed, pitch_, kSavedRate, riseMs()), SoundFileFormat::Wav16, true);
        } catch (const RuntimeError& e) {
            platform().messageBox(path + own(" cannot be saved: ") + e.description(), own("Save as"), MessageIcon::Exclamation,
                                  MessageButtons::Ok);
        }
    });
}

void Form4::showChoices(const MorseSettings& settings) {
    showingChoices_ = true;
    (settings.timing == MorseTimingChoice::Standard ? standard_ : classic_)->setChecked(true);
    wpm_->setValue(settings.speed.wpm);
    characterWpm_->setMinimum(settings.speed.wpm);
    characterWpm_->setValue(settings.speed.characterWpm);
    riseTime_->setValue(settings.riseMs);
    showingChoices_ = false;
    showTimingControls();
}

MorseSettings Form4::choices() const {
    MorseSettings s;
    s.timing = standard_->isChecked() ? MorseTimingChoice::Standard : MorseTimingChoice::Classic;
    s.speed = clampedSpeed({wpm_->value(), characterWpm_->value()});
    s.riseMs = riseTime_->value();
    return s;
}

// The character speed is never below the overall speed; Classic's speed
// box and Standard's boxes show only under their own timing.
void Form4::showTimingControls() {
    const bool standard = standard_->isChecked();
    characterWpm_->setMinimum(wpm_->value());
    for (QWidget* w : std::initializer_list<QWidget*>{wpmLabel_, wpm_, characterWpmLabel_, characterWpm_,
                                                      riseTimeLabel_, riseTime_})
        w->setVisible(standard);
    label1_->setVisible(!standard);
    text2_->setVisible(!standard);
}

void Form4::timingChanged() {
    if (showingChoices_) return;
    trapped(mainWindow_, errol::MorseTimingChanged, [&] {
        showTimingControls();
        if (choices() != loadMorseSettings()) saveMorseSettings(choices());
    });
}

void Form4::setKeying(bool keying) {
    command1_->setEnabled(!keying);
    command2_->setEnabled(keying);
    saveAs_->setEnabled(!keying);
    timing_->setEnabled(!keying);
}

void Form4::stopClicked() {
    trapped(mainWindow_, errol::MorseStopClicked, [&] {
        sound(mainWindow_).KillAll();
        if (stream_) stream_->stop();
        setKeying(false);
        stopRequest_ = 1;
    });
}

void Form4::closeWindow() {
    stopRequest_ = 1;
    if (stream_) stream_->stop();
    mainWindow_.unloadForm(Form::Form4);
}

void Form4::closeEvent(QCloseEvent* event) {
    closeWindow();
    event->accept();
}

// Escape leaves the window as its close box does, but never in the middle
// of a message.
void Form4::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && command1_->isEnabled()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tonara
