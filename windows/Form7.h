#pragma once
// The update window: a newer version was announced. "Update" opens the link
// and ends the program; "Don't update" lets the start-up go on.

#include "MainWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace tonara {

class Form7 : public QWidget {
    Q_OBJECT
public:
    explicit Form7(MainWindow& mainWindow, QWidget* parent = nullptr);

    void fill(const UpdateOffer& offer);

    void updateClicked();
    void dontUpdateClicked();

    QString Link;

private:
    MainWindow& mainWindow_;
    QLabel* label1_;
    QListWidget* list1_;
    QPushButton* command1_;
    QPushButton* command2_;
};

} // namespace tonara
