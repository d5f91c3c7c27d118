#pragma once
// The Morse window: keys a typed message as Morse code at a chosen speed and
// pitch through the tone engine's timed tone, one position at a time.

#include "LoadHandler.h"
#include "MainWindow.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tonara {

class Form4 : public QWidget, public LoadHandler {
    Q_OBJECT
public:
    static constexpr int kPositions = 500;

    explicit Form4(MainWindow& mainWindow, QWidget* parent = nullptr);

    // Event handlers. The main window runs the load once the window is registered.
    void loadHandler() override;
    void hideInputClicked();
    void playClicked();
    void stopClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void nameBoxesAfterTheirLabels();
    void takeSpeedAndPitch();
    void fillPositions();
    void key();
    void setKeying(bool keying);
    void closeWindow();

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

    std::array<char32_t, kPositions + 1> positions_{}; // 1..500, 0 where the message has ended
    qint16 position_ = 1;
    qint16 speed_ = 0;
    qint16 pitch_ = 700;
    qint16 stopRequest_ = 1;
    qint16 loadGuard_ = 0;
    // A Play handled inside a run's event turn starts a new run; the older one then gives way.
    quint32 runSerial_ = 0;
};

} // namespace tonara
