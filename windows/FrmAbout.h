#pragma once
// The about box: the program's title, version and description, and a way
// to the system's own information tool.

#include "LoadHandler.h"
#include "MainWindow.h"

#include <QWidget>

namespace tonara {

class FrmAbout : public QWidget, public LoadHandler {
    Q_OBJECT
public:
    explicit FrmAbout(MainWindow& mainWindow, QWidget* parent = nullptr);

    void loadHandler() override;
    void okClicked();
    void sysInfoClicked();

    // The information tools looked for on PATH, in order of preference.
    static const QStringList& systemInformationPrograms();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void StartSysInfo();

    MainWindow& mainWindow_;
};

} // namespace tonara
