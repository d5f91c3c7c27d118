// Quillon, the hearing-age test. The main program starts it as "Quillon.dll".
#include "Wizard.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Quillon");
    // Closing a window ends the program through the wizard; hiding one must not.
    app.setQuitOnLastWindowClosed(false);
    tonara::quillon::Wizard wizard;
    wizard.start();
    return app.exec();
}
