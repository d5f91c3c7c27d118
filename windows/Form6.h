#pragma once
// The error window: tells the user the program must restart and shows the
// error report; Exit closes every window.

#include "MainWindow.h"

#include <QListWidget>
#include <QWidget>

namespace tonara {

class Form6 : public QWidget {
    Q_OBJECT
public:
    explicit Form6(MainWindow& mainWindow, QWidget* parent = nullptr);

    void addLines(const QStringList& lines);
    // Exit was pressed, or the window was closed by its title bar.
    bool left() const { return exitFlag_ == 1 || closed_; }
    qint16 exitFlag() const { return exitFlag_; }

    void exitClicked();
    void visitSiteClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    MainWindow& mainWindow_;
    QListWidget* list_;
    qint16 exitFlag_ = 0;
    bool closed_ = false;
};

} // namespace tonara
