#include "CommandLine.h"
#include "CommandLineArguments.h"
#include "Folders.h"
#include "Leftovers.h"
#include "Form1.h"
#include "WindowAccessibility.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // Answered before any window system is needed.
    const tonara::CommandLineReply reply = tonara::commandLineReply(arguments, tonara::namesAToneFile);
    std::fputs(reply.toOutput.toLocal8Bit().constData(), stdout);
    std::fputs(reply.toError.toLocal8Bit().constData(), stderr);
    if (reply.exitCode) return *reply.exitCode;

    // Into the environment before any thread starts.
    tonara::exportTempFolder();
    tonara::removeLeftovers(); // of an earlier run killed in the middle of a write
    QApplication app(argc, argv);
    app.setApplicationName("Tonara");
    tonara::installWindowAccessibility();
    // The desktop entry's name: window, launcher and file manager then agree on one program and icon.
    QGuiApplication::setDesktopFileName("nl.norvane.Tonara");
    // The shut-down sequence ends the program; a hidden main window must not.
    app.setQuitOnLastWindowClosed(false);
    tonara::Form1 form1;
    form1.start();
    return app.exec();
}
