// Starts the 16-bit tone program found in the working folder, hidden and
// without waiting, and ends. Its only window is the box that reports a
// tone program that cannot be started.
#include "Relay.h"
#include "ToneOwner.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The tone belongs to the program that started this launcher, not to the launcher, which ends at once.
    tonara::passToneOwnerOn();
    return tonara::relaySound16(QDir::currentPath());
}
