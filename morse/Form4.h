#pragma once
// The Morse window: keys a typed message as Morse code at a chosen speed and
// pitch. Classic keying sends each element through the tone engine's timed
// tone, one position at a time; Standard keying renders the whole message
// as one sound in standard timing and plays it as one stream. Either can be
// saved as a WAV file.

#include "LoadHandler.h"
#include "MainWindow.h"
#include "MorseSettings.h"

#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tonara {

class ToneStream;
struct KeyingPlan;

class Form4 : public QWidget, public LoadHandler {
    Q_OBJECT
public:
    static constexpr int kPositions = 500;

    explicit Form4(MainWindow& mainWindow, QWidget* parent = nullptr);
    ~Form4() override;

    // Event handlers. The main window runs the load once the window is registered.
    void loadHandler() override;
    void hideInputClicked();
    void playClicked();
    void stopClicked();
    void saveAsClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString own(const char* english) const; // our own text in the window's language
    void buildLayout();
    void buildTimingGroup();
    void nameBoxesAfterTheirLabels();
    void takeSpeedAndPitch();
    void takePitch();
    void fillPositions();
    void key();
    void keyStandard();
    // The message in the timing chosen, the characters left out announced.
    KeyingPlan plan();
    double riseMs() const;
    void setKeying(bool keying);
    void closeWindow();
    void showChoices(const MorseSettings& settings);
    void showTimingControls();
    void timingChanged();
    MorseSettings choices() const;

    MainWindow& mainWindow_;
    QLineEdit* text1_;
    QLabel* label3_;
    QLineEdit* text2_;
    QLabel* label1_;
    QLineEdit* text3_;
    QLabel* label2_;
    QCheckBox* check1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* saveAs_;
    QGroupBox* timing_;
    QRadioButton* classic_;
    QRadioButton* standard_;
    QLabel* wpmLabel_;
    QSpinBox* wpm_;
    QLabel* characterWpmLabel_;
    QSpinBox* characterWpm_;
    QLabel* riseTimeLabel_;
    QSpinBox* riseTime_;

    std::array<char32_t, kPositions + 1> positions_{}; // 1..500, 0 where the message has ended
    qint16 position_ = 1;
    qint16 speed_ = 0;
    qint16 pitch_ = 700;
    qint16 stopRequest_ = 1;
    qint16 loadGuard_ = 0;
    // A Play handled inside a run's event turn starts a new run; the older one then gives way.
    quint32 runSerial_ = 0;
    bool showingChoices_ = false; // the controls are being set, not changed by the user
    std::unique_ptr<ToneStream> stream_; // the Standard message, until the next one or the end of the window
};

} // namespace tonara
