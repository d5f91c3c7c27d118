#pragma once
// The tone-file player: plays the tones of one tone file with the back-end
// of the sound mode code and shows which tone is sounding. It runs in an
// instance of the program of its own, which ends when the player unloads.

#include "MainWindow.h"
#include "ToneFile.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tonara {

class Form9 : public QWidget {
    Q_OBJECT
public:
    explicit Form9(MainWindow& mainWindow, QWidget* parent = nullptr);

    // What the caller hands over before the player loads: the file and the
    // sound mode code ("16", "32", "64", "128", "256").
    void setInputs(const QString& filePath, const QString& modeText);

    // Event handlers. Load reads the file, shows the window unless the file
    // is invisible and plays it once; an invisible file then ends the instance.
    void loadHandler();
    void replayClicked();
    void stopClicked();
    void exitClicked();
    void unloadHandler(); // ends the program

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    bool readFile();
    void runPass();
    void playTone(const Tone& tone);
    void countTone();

    MainWindow& mainWindow_;
    QString filePath_;
    QString modeText_;
    ToneFile toneFile_;

    QLabel* label1_; // tones played so far
    QLabel* label2_; // the tone count
    QLabel* label4_; // the file path
    QLabel* label6_; // pitch of the sounding tone
    QLabel* label8_; // duration of the sounding tone
    QProgressBar* progressBar1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;

    qint16 passCounter_ = 0;
    qint16 toneIndex_ = 0;
    qint16 stopFlag_ = 0;
    qint16 loadGuard_ = 0;
    // (Re)play right after Stop can start a pass inside the running one; the older pass then gives way.
    quint32 passSerial_ = 0;
};

} // namespace tonara
