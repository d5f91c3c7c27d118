#pragma once
// The "Signal generator" window: a frequency or note, level, ears,
// waveform, sweep and duration; Play, Stop and Save as. A change while it
// plays is heard at once; text that cannot be read is refused with a
// message and changes nothing.

#include "GeneratorSettings.h"
#include "Platform.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

// A dialog that does not hold the main window up (a dialog to assistive
// technology, as a window of its own should announce itself).
class GeneratorWindow : public QDialog {
    Q_OBJECT
public:
    explicit GeneratorWindow(QWidget* parent = nullptr);
    ~GeneratorWindow() override;

    void play();
    void stop();
    void saveAs();
    bool playing() const { return playing_; }
    // The signal the controls describe, or nothing (the reason is shown).
    std::optional<SignalParameters> signal(int rate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void restore(const GeneratorSettings& settings);
    GeneratorSettings current() const;
    void controlsChanged();
    void stepFrequency(double hertz, double semitones);
    void showProblem(const QString& text);
    int playRate() const;
    void ended();

    QLineEdit* frequency_ = nullptr;
    QLabel* note_ = nullptr;
    QDoubleSpinBox* level_ = nullptr;
    QComboBox* channel_ = nullptr;
    QComboBox* waveform_ = nullptr;
    QComboBox* sweep_ = nullptr;
    QLineEdit* sweepTo_ = nullptr;
    QDoubleSpinBox* sweepTime_ = nullptr;
    QCheckBox* repeat_ = nullptr;
    QDoubleSpinBox* duration_ = nullptr;
    QComboBox* fileFormat_ = nullptr;
    QComboBox* fileRate_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* playButton_ = nullptr;

    std::unique_ptr<SignalStream> stream_;
    bool playing_ = false;
    QTimer end_; // a timed signal's end
};

} // namespace tonara
