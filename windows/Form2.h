#pragma once
// The custom pitch's help: what pitches from 50 to 22 000 Hertz sound like.

#include "LoadHandler.h"
#include "MainWindow.h"

#include <QWidget>

namespace tonara {

class Form2 : public QWidget, public LoadHandler {
    Q_OBJECT
public:
    explicit Form2(MainWindow& mainWindow, QWidget* parent = nullptr);

    void loadHandler() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    MainWindow& mainWindow_;
    qint16 loadGuard_ = 0;
};

} // namespace tonara
