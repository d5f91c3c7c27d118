#include "Folders.h"
#include "Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    tonara::exportTempFolder();
    QApplication app(argc, argv);
    app.setApplicationName("Tonara");
    // The shut-down sequence ends the program; a hidden main window must not.
    app.setQuitOnLastWindowClosed(false);
    tonara::Form1 form1;
    form1.start();
    return app.exec();
}
