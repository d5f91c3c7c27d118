#pragma once
// The first-run agreement: terms of use, consent to sending usage data and
// the language; Accept writes a fresh settings file and restarts the program.

#include "MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace tonara {

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(MainWindow& mainWindow, QWidget* parent = nullptr);

    void loadHandler();
    void languageClicked(int index);
    void acceptClicked();
    void dontAcceptClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyTexts(bool dutch);

    MainWindow& mainWindow_;
    QLabel* label1_;
    QLabel* label4_;
    QLabel* label7_;
    QComboBox* combo1_;
    QCheckBox* check1_;
    QPushButton* command1_;
    QPushButton* command2_;
    qint16 loadGuard_ = 0;
};

} // namespace tonara
