// Quillon, the hearing-age test. The main program starts it as "Quillon.dll".
#include "Folders.h"
#include "Leftovers.h"
#include "Platform.h"
#include "WindowAccessibility.h"
#include "Wizard.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Into the environment before any thread starts.
    tonara::exportTempFolder();
    tonara::removeLeftovers(); // of an earlier run killed in the middle of a write
    QApplication app(argc, argv);
    app.setApplicationName("Quillon");
    tonara::installWindowAccessibility();
    // Closing a window ends the program through the wizard; hiding one must not.
    app.setQuitOnLastWindowClosed(false);
    tonara::quillon::Wizard wizard;
    // Logout, kill and Ctrl+C end the test as closing its window does: no tone is left sounding.
    // A second one while ending (a failure's box is up) ends at once.
    bool ending = false;
    tonara::platform().onTerminationRequest([&wizard, &ending] {
        if (ending) tonara::platform().endProgram(0);
        ending = true;
        wizard.end();
    });
    wizard.start();
    return app.exec();
}
