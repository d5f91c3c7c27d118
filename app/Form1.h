#pragma once
// The main window: the nine modes, Play and Stop, the preview, the
// microphone frame, the status bar and the menus. It owns the program's
// public state and the other windows, and is the MainWindow the logic sees.

#include "MainWindow.h"
#include "MicrophoneAnalyser.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <vector>

class QAction;
class QLabel;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace tonara {

class PictureBox;
struct SoundMode;
struct WebLink;
class WaveBox;
class frmDX_Record;
class AnalyserPanel;
class Form5;
class Form6;
class Form8;
class GeneratorWindow;

class Form1 : public QMainWindow, public MainWindow {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    // Runs the start-up sequence, then shows the window unless start-up hid it.
    void start();

    // Event handlers.
    void loadHandler();
    void unloadHandler();
    void optionClicked(int option);
    void sliderChanged();
    void playClicked();
    void stopClicked();

    // Menu handlers.
    void openFileClicked();
    void exitClicked();
    void soundModeClicked(const SoundMode& mode);
    void languageClicked(bool dutch);
    void autoUpdateClicked();
    void webLinkClicked(const WebLink& link);
    void aboutClicked();
    void pitchHelpClicked();
    void signalGeneratorClicked();
    // The output's volume, 0 to -60 dB, remembered beside the generator's settings.
    void volumeChanged(int db);
    // Microphone display (Microphone.cpp).
    void microinputonoffClicked();
    void plusClicked();  // Command4
    void minusClicked(); // Command5
    void DirectSoundRecord_GotWaveData(const QByteArray& Buffer, qint16 BitsPerSample, qint16 Channels);
    // The measuring display beside it (MicrophoneAnalysis.cpp): every captured
    // half is measured, then drawn as the choices say.
    void showCapturedHalf(const QByteArray& Buffer, qint16 BitsPerSample, qint16 Channels);
    void analyserPictureChanged();
    void analyserInputChosen();

    PictureBox& picture1() { return *picture1_; }
    WaveBox& picWave() { return *picWave_; }

    // MainWindow
    MainState& state() override { return state_; }
    void setCaption(MainControl control, const QString& text) override;
    QString caption(MainControl control) const override;
    void setEnabled(MainControl control, bool enabled) override;
    bool isEnabled(MainControl control) const override;
    void setShown(MainControl control, bool shown) override;
    void setChecked(MainControl control, bool checked) override;
    bool isChecked(MainControl control) const override;
    int sliderValue() const override;
    void setStatusText(int panel, const QString& text) override;
    QString statusText(int panel) const override;
    void setFormCaption(FormControl control, const QString& text) override;
    bool isFormVisible(Form form) const override;
    void showForm(Form form) override;
    void hideForm(Form form) override;
    void unloadForm(Form form) override;
    void fillUpdateWindow(const UpdateOffer& offer) override;
    void drawSine(qint16 pitch, qint16 mode) override;
    void addErrorLines(const QStringList& lines) override;
    bool errorWindowLeft() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildKeyboard();
    // Our own texts in this window and the loaded ones, and Qt's, in the language of lang.
    void followLanguage();
    void selectOption(int option);
    void playFromKeyboard(int option);
    void markSoundModeMenu();
    QObject* control(MainControl name) const;
    QWidget* loadedForm(Form form) const;
    QWidget* loadForm(Form form);
    void setSplashStatus(const QString& text);
    void startMicrophoneDisplay();
    void closeCaptureSource();
    void startMicrophone();
    void stopMicrophone();
    void changeSensitivity(qint16 errol, int by);
    void draw8Bit(const QByteArray& buffer, bool stereo);
    void convert16Bit(const QByteArray& buffer, bool stereo);
    void draw16Bit(const std::vector<qint16>& samples, bool stereo);

    MainState state_;
    PictureBox* picture1_ = nullptr;
    WaveBox* picWave_ = nullptr;
    frmDX_Record* DirectSoundRecord = nullptr; // the capture source, a child of this window
    AnalyserPanel* analyser_ = nullptr;
    std::unique_ptr<MicrophoneAnalyser> analysis_; // made afresh for every capture
    std::array<QRadioButton*, 10> options_{};
    QScrollBar* hscroll1_ = nullptr;
    QSpinBox* customPitch_ = nullptr;
    QLabel* customPitchLabel_ = nullptr;
    QSpinBox* volume_ = nullptr;
    QPointer<GeneratorWindow> generator_;
    std::array<QLabel*, 4> panels_{};

    std::map<Form, QPointer<QWidget>> forms_;
    // Controls once found by name, keyed by a copy of it (a name read from a
    // language file lives only as long as its line). The preview asks for an
    // option's state every frame: a walk of the whole window's tree each
    // time cost more than drawing the frame.
    mutable QHash<QByteArray, QPointer<QObject>> controls_;
    bool hiddenByStartup_ = false;

    qint16 startupGuard_ = 0;
    qint16 connectivityResult_ = 0;
    std::array<qint16, 10> wasdisabled_{};
    QString toneFilePath_;
    qint16 toneFileFlag_ = 0;
    qint16 closeCount_ = 0;
    qint16 closeAnswer_ = 0;
    // Set when a termination request runs the shut-down: a failure in it is
    // recorded but waits for no window and asks no question.
    bool endingOnRequest_ = false;
    QString tempdir_;
};

} // namespace tonara
