#pragma once
// The online news window: the maker's news page, fetched whole and shown
// without scripts; its links open in the desktop's browser.

#include "MainWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

namespace tonara {

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(MainWindow& mainWindow, QWidget* parent = nullptr);

    void loadHandler();
    // Fetches the page at address and shows it.
    void navigate(const QString& address);
    void linkClicked(const QUrl& link);

    QTextBrowser* webBrowser1() const { return webBrowser1_; }

private:
    MainWindow& mainWindow_;
    QTextBrowser* webBrowser1_;
    QUrl page_;
    qint16 loadGuard_ = 0;
};

} // namespace tonara
