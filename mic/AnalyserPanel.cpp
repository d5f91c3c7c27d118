#include "AnalyserPanel.h"
#include "MainWindowNames.h"
#include "OwnTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace tonara {

namespace {

QCheckBox* checkBox(MainControl name, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    return box;
}

QLabel* readout(MainControl name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    return label;
}

} // namespace

AnalyserPanel::AnalyserPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(form1::Analyser);
    trigger_ = checkBox(form1::Trigger, "Trigger", this);
    spectrum_ = checkBox(form1::Spectrum, "Spectrum", this);
    freeze_ = checkBox(form1::Freeze, "Freeze", this);
    input_ = new QComboBox(this);
    input_->setObjectName(form1::Input);
    input_->setAccessibleName("Input:");
    input_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    input_->setMinimumContentsLength(10);
    auto* inputLabel = new QLabel("&Input:", this);
    inputLabel->setObjectName(form1::InputLabel);
    inputLabel->setBuddy(input_);
    frequency_ = readout(form1::Frequency, frequencyText(std::nullopt), this);
    // Room for the longest reading, so the level beside it does not jump as it changes.
    frequency_->setMinimumWidth(frequency_->fontMetrics().horizontalAdvance(frequencyText(23999.9) + "  "));
    level_ = readout(form1::Level, levelText({}), this);

    // Three short rows beside the waveform: below it they would take the
    // main window past a small screen's height at scale 2.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(trigger_, 0, 0);
    grid->addWidget(spectrum_, 1, 0);
    grid->addWidget(freeze_, 2, 0);
    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(inputLabel);
    inputRow->addWidget(input_, 1);
    grid->addLayout(inputRow, 0, 1);
    grid->addWidget(frequency_, 1, 1);
    grid->addWidget(level_, 2, 1);
    grid->setColumnStretch(1, 1);

    connect(trigger_, &QCheckBox::toggled, this, &AnalyserPanel::pictureChanged);
    connect(spectrum_, &QCheckBox::toggled, this, &AnalyserPanel::pictureChanged);
    connect(input_, &QComboBox::activated, this, [this] {
        remembered_ = input();
        emit inputChosen();
    });
}

void AnalyserPanel::setSettings(const AnalyserSettings& settings) {
    const QSignalBlocker quietTrigger(trigger_);
    const QSignalBlocker quietSpectrum(spectrum_);
    trigger_->setChecked(settings.trigger);
    spectrum_->setChecked(settings.spectrum);
    remembered_ = settings.input;
    const int at = input_->findData(remembered_);
    if (at >= 0) input_->setCurrentIndex(at);
}

AnalyserSettings AnalyserPanel::settings() const {
    return {trigger_->isChecked(), spectrum_->isChecked(), remembered_};
}

bool AnalyserPanel::frozen() const { return freeze_->isChecked(); }

void AnalyserPanel::setSources(const CaptureSources& sources) {
    const QSignalBlocker quiet(input_);
    input_->clear();
    QString defaultText = "Default source";
    for (const CaptureSource& source : sources.sources)
        if (source.name == sources.defaultName) defaultText += " (" + source.description + ")";
    input_->addItem(defaultText, QString());
    for (const CaptureSource& source : sources.sources) input_->addItem(source.description, source.name);
    input_->setCurrentIndex(std::max(0, input_->findData(remembered_)));
}

QString AnalyserPanel::input() const { return input_->currentData().toString(); }

void AnalyserPanel::followEnabled(QWidget* control) {
    followed_ = control;
    control->installEventFilter(this);
    setEnabled(control->isEnabled());
}

bool AnalyserPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == followed_ && event->type() == QEvent::EnabledChange) setEnabled(followed_->isEnabled());
    return QWidget::eventFilter(watched, event);
}

void AnalyserPanel::setLanguage(const QString& language) {
    language_ = language;
    showReadings(shown_);
}

void AnalyserPanel::showReadings(const MicrophoneReadings& readings) {
    shown_ = readings;
    // The measures' texts are English; their words are put in the language, their numbers kept.
    const auto spoken = [this](QString text) {
        for (const char* word : {"Frequency:", "Level:", "silent", "peak"}) text.replace(word, ownText(word, language_));
        return text;
    };
    frequency_->setText(spoken(frequencyText(readings.hz)));
    level_->setText(spoken(levelText(readings.level)));
    frequency_->setAccessibleName(frequency_->text());
    level_->setAccessibleName(level_->text());
}

} // namespace tonara
