#include "GeneratorWindow.h"
#include "FrequencyText.h"
#include "GeneratorNames.h"
#include "RuntimeError.h"
#include "SignalExport.h"
#include "SignalRenderer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace tonara {

namespace {

const char* const kChannels[] = {"Both", "Left", "Right", "Both, right inverted"};
const char* const kWaveforms[] = {"Sine", "Square", "Triangle", "Sawtooth", "White noise", "Pink noise"};
const char* const kSweeps[] = {"Off", "Linear", "Logarithmic"};
const char* const kFormats[] = {"WAV 16-bit", "WAV 24-bit", "WAV 32-bit float", "FLAC 16-bit", "FLAC 24-bit"};
constexpr int kFallbackRate = 48000; // for reading frequencies while no output is open

template <typename T> T* named(T* widget, generatorWindow::Name name) {
    widget->setObjectName(name);
    return widget;
}

QComboBox* choices(generatorWindow::Name name, const char* const* texts, int count) {
    auto* box = named(new QComboBox, name);
    for (int i = 0; i < count; ++i) box->addItem(QString::fromUtf8(texts[i]));
    return box;
}

QDoubleSpinBox* seconds(generatorWindow::Name name, double lowest, double value) {
    auto* box = named(new QDoubleSpinBox, name);
    box->setRange(lowest, kLongestSeconds);
    box->setDecimals(2);
    box->setValue(value);
    return box;
}

bool isFlac(SoundFileFormat format) { return format == SoundFileFormat::Flac16 || format == SoundFileFormat::Flac24; }

} // namespace

GeneratorWindow::GeneratorWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("GeneratorWindow");
    setWindowTitle("Signal generator");
    setAccessibleName("Signal generator");
    build();
    restore(loadGeneratorSettings());
    end_.setSingleShot(true);
    connect(&end_, &QTimer::timeout, this, [this] { ended(); });
}

GeneratorWindow::~GeneratorWindow() { stop(); }

void GeneratorWindow::build() {
    auto* form = new QFormLayout;
    const auto row = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text);
        label->setBuddy(field);
        field->setAccessibleName(QString(text).remove('&'));
        form->addRow(label, field);
    };
    frequency_ = named(new QLineEdit, generatorWindow::Frequency);
    frequency_->installEventFilter(this);
    // Room for a typed frequency when the buttons beside it have longer (Dutch) captions.
    frequency_->setMinimumWidth(frequency_->fontMetrics().horizontalAdvance("32000.000 Hz") + 12);
    auto* down = named(new QPushButton("Octave &down"), generatorWindow::OctaveDown);
    auto* up = named(new QPushButton("Octave &up"), generatorWindow::OctaveUp);
    auto* frequencyRow = new QHBoxLayout;
    frequencyRow->addWidget(frequency_, 1);
    frequencyRow->addWidget(down);
    frequencyRow->addWidget(up);
    auto* frequencyLabel = new QLabel("&Frequency:");
    frequencyLabel->setBuddy(frequency_);
    frequency_->setAccessibleName("Frequency:");
    form->addRow(frequencyLabel, frequencyRow);
    note_ = named(new QLabel, generatorWindow::Note);
    note_->setAccessibleName("Note:");
    form->addRow(new QLabel("Note:"), note_);

    level_ = named(new QDoubleSpinBox, generatorWindow::Level);
    level_->setRange(kLowestLevelDb, kHighestLevelDb);
    level_->setDecimals(1);
    level_->setSingleStep(0.1);
    row("&Level (dBFS):", level_);
    channel_ = choices(generatorWindow::Channel, kChannels, 4);
    row("&Channel:", channel_);
    waveform_ = choices(generatorWindow::Waveform, kWaveforms, 6);
    row("&Waveform:", waveform_);
    sweep_ = choices(generatorWindow::Sweep, kSweeps, 3);
    row("S&weep:", sweep_);
    sweepTo_ = named(new QLineEdit, generatorWindow::SweepTo);
    row("Sweep &to:", sweepTo_);
    sweepTime_ = seconds(generatorWindow::SweepTime, 0.1, 10);
    row("Sweep t&ime (s):", sweepTime_);
    repeat_ = named(new QCheckBox("&Repeat"), generatorWindow::Repeat);
    repeat_->setAccessibleName("Repeat");
    form->addRow(QString(), repeat_);
    duration_ = seconds(generatorWindow::Duration, 0, 0);
    row("D&uration (s):", duration_);
    fileFormat_ = choices(generatorWindow::FileFormat, kFormats, 5);
    row("File f&ormat:", fileFormat_);
    fileRate_ = named(new QComboBox, generatorWindow::FileRate);
    for (int rate : kExportRates) fileRate_->addItem(QString::number(rate), rate);
    row("File r&ate (Hz):", fileRate_);

    problem_ = named(new QLabel, generatorWindow::Problem);
    problem_->setWordWrap(true);
    problem_->setAccessibleName("Message");
    QPalette warning = problem_->palette();
    warning.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    problem_->setPalette(warning);

    playButton_ = named(new QPushButton("&Play"), generatorWindow::Play);
    auto* stopButton = named(new QPushButton("&Stop"), generatorWindow::Stop);
    auto* saveButton = named(new QPushButton("Save &as..."), generatorWindow::SaveAs);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(playButton_);
    buttons->addWidget(stopButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addLayout(buttons);

    // Enter in a box applies what was typed; it presses no button.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    connect(down, &QPushButton::clicked, this, [this] { stepFrequency(0, -12); });
    connect(up, &QPushButton::clicked, this, [this] { stepFrequency(0, 12); });
    connect(playButton_, &QPushButton::clicked, this, [this] { play(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { stop(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveAs(); });
    // What is typed is read at once (the note, or why it cannot be read),
    // and heard on Enter or when the box is left: a tone does not jump
    // through every prefix of what is being typed.
    for (QLineEdit* box : {frequency_, sweepTo_}) {
        connect(box, &QLineEdit::textEdited, this, [this] { signal(playRate()); });
        connect(box, &QLineEdit::editingFinished, this, [this] { controlsChanged(); });
    }
    for (QComboBox* box : {channel_, waveform_, sweep_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { controlsChanged(); });
    for (QDoubleSpinBox* box : {level_, sweepTime_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { controlsChanged(); });
    connect(repeat_, &QCheckBox::toggled, this, [this] { controlsChanged(); });
    // Space plays and stops from every control but the text boxes, which need it.
    for (QWidget* control : findChildren<QWidget*>())
        if (!qobject_cast<QLineEdit*>(control) && control->focusPolicy() != Qt::NoFocus) control->installEventFilter(this);
}

void GeneratorWindow::restore(const GeneratorSettings& s) {
    frequency_->setText(s.frequencyText);
    sweepTo_->setText(s.sweepToText);
    level_->setValue(s.signal.levelDb);
    channel_->setCurrentIndex(int(s.signal.channel));
    waveform_->setCurrentIndex(int(s.signal.waveform));
    sweep_->setCurrentIndex(int(s.signal.sweep));
    sweepTime_->setValue(s.signal.sweepSeconds);
    repeat_->setChecked(s.signal.repeat);
    duration_->setValue(s.durationSeconds);
    fileFormat_->setCurrentIndex(int(s.saveFormat));
    fileRate_->setCurrentIndex(std::max(0, fileRate_->findData(s.saveRate)));
    controlsChanged();
}

GeneratorSettings GeneratorWindow::current() const {
    GeneratorSettings s;
    s.frequencyText = frequency_->text();
    s.sweepToText = sweepTo_->text();
    const auto readable = [](const QString& text, double fallback) {
        return readFrequency(text, 1e9).hertz.value_or(fallback);
    };
    s.signal.frequency = readable(s.frequencyText, s.signal.frequency);
    s.signal.sweepTo = readable(s.sweepToText, s.signal.sweepTo);
    s.signal.levelDb = level_->value();
    s.signal.channel = SignalChannel(channel_->currentIndex());
    s.signal.waveform = Waveform(waveform_->currentIndex());
    s.signal.sweep = SweepLaw(sweep_->currentIndex());
    s.signal.sweepSeconds = sweepTime_->value();
    s.signal.repeat = repeat_->isChecked();
    s.durationSeconds = duration_->value();
    s.saveFormat = SoundFileFormat(fileFormat_->currentIndex());
    s.saveRate = fileRate_->currentData().toInt();
    return s;
}

int GeneratorWindow::playRate() const {
    const int rate = platform().outputRate();
    return rate > 0 ? rate : kFallbackRate;
}

std::optional<SignalParameters> GeneratorWindow::signal(int rate) {
    const double top = SignalRenderer::bandTop(rate);
    const FrequencyReading from = readFrequency(frequency_->text(), top);
    if (!from.hertz) {
        showProblem(from.problem);
        return std::nullopt;
    }
    note_->setText(noteText(*from.hertz));
    SignalParameters parameters = current().signal;
    parameters.frequency = *from.hertz;
    if (parameters.sweep != SweepLaw::Off) {
        const FrequencyReading to = readFrequency(sweepTo_->text(), top);
        if (!to.hertz) {
            showProblem(QStringLiteral("Sweep to: ") + to.problem);
            return std::nullopt;
        }
        parameters.sweepTo = *to.hertz;
    }
    showProblem({});
    return parameters;
}

void GeneratorWindow::showProblem(const QString& text) {
    problem_->setText(text);
    problem_->setAccessibleDescription(text);
}

// Read as typed; while playing, what can be read is heard at once and what
// cannot leaves the tone as it was.
void GeneratorWindow::controlsChanged() {
    const bool sweeping = sweep_->currentIndex() != int(SweepLaw::Off);
    sweepTo_->setEnabled(sweeping);
    sweepTime_->setEnabled(sweeping);
    repeat_->setEnabled(sweeping);
    const auto parameters = signal(playRate());
    if (parameters && playing_ && stream_) stream_->change(*parameters);
}

void GeneratorWindow::stepFrequency(double hertz, double semitones) {
    const double top = SignalRenderer::bandTop(playRate());
    const auto now = readFrequency(frequency_->text(), top).hertz;
    if (!now) return;
    double next = (*now + hertz) * std::pow(2.0, semitones / 12.0);
    next = std::clamp(std::round(next * 100) / 100, kLowestFrequency, std::floor(top * 100) / 100);
    frequency_->setText(hertzText(next));
    controlsChanged();
}

void GeneratorWindow::play() {
    const auto parameters = signal(playRate());
    if (!parameters) return;
    try {
        if (!stream_) stream_ = platform().openSignalStream();
    } catch (const RuntimeError&) {
        showProblem("There is no sound output to play on.");
        return;
    }
    const double duration = duration_->value();
    stream_->play(*parameters, duration);
    playing_ = true;
    playButton_->setEnabled(false);
    if (duration > 0) end_.start(int(std::ceil(duration * 1000)));
    else end_.stop();
    saveGeneratorSettings(current());
}

void GeneratorWindow::stop() {
    end_.stop();
    if (stream_) stream_->stop();
    ended();
}

void GeneratorWindow::ended() {
    playing_ = false;
    if (playButton_) playButton_->setEnabled(true);
}

void GeneratorWindow::saveAs() {
    const GeneratorSettings settings = current();
    const auto parameters = signal(settings.saveRate);
    if (!parameters) return;
    double length = settings.durationSeconds;
    if (length <= 0) {
        bool ok = false;
        length = QInputDialog::getDouble(this, "Save as", "Length of the file (s):", 10.0, 0.01, kLongestSeconds, 2, &ok);
        if (!ok) return;
    }
    const bool flac = isFlac(settings.saveFormat);
    const QString suffix = flac ? ".flac" : ".wav";
    QString path = platform().saveFileName(flac ? "FLAC files (*.flac)|*.flac" : "WAV files (*.wav)|*.wav", "tone" + suffix);
    if (path.isEmpty()) return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        saveSignal(path, *parameters, settings.saveRate, length, settings.saveFormat);
        QApplication::restoreOverrideCursor();
        showProblem({});
    } catch (const RuntimeError& error) {
        QApplication::restoreOverrideCursor();
        showProblem(QStringLiteral("The file could not be written: ") + error.description());
    }
    saveGeneratorSettings(settings);
}

bool GeneratorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == frequency_) {
        const bool shift = key->modifiers() & Qt::ShiftModifier, control = key->modifiers() & Qt::ControlModifier;
        const double step = control ? 100.0 : shift ? 0.01 : 1.0;
        switch (key->key()) {
        case Qt::Key_Up: stepFrequency(step, 0); return true;
        case Qt::Key_Down: stepFrequency(-step, 0); return true;
        case Qt::Key_PageUp: stepFrequency(0, 1); return true;
        case Qt::Key_PageDown: stepFrequency(0, -1); return true;
        default: return false;
        }
    }
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
        playing_ ? stop() : play();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void GeneratorWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (playing_) stop();
        else close();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        playing_ ? stop() : play();
        return;
    }
    QDialog::keyPressEvent(event);
}

void GeneratorWindow::closeEvent(QCloseEvent* event) {
    stop();
    saveGeneratorSettings(current());
    event->accept();
}

} // namespace tonara
