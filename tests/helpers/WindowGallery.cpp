// Every window of Tonara and Quillon drawn into PNG files, to be looked at:
// window_gallery <folder> <en|nl> <light|dark>. Run on a real display
// (Xvfb), with QT_SCALE_FACTOR as wanted.
#include "AllWindows.h"
#include "WindowAccessibility.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QStyleFactory>
#include <cstdio>

using namespace tonara;
using namespace tonara::test;

namespace {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::AlternateBase, QColor(0x30, 0x30, 0x30));
    p.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return p;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installWindowAccessibility();
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_gallery <folder> <en|nl> <light|dark>\n");
        return 2;
    }
    const QString folder = argv[1];
    const bool dutch = QString(argv[2]) == "nl";
    if (QString(argv[3]) == "dark") {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(darkPalette());
    }
    QDir().mkpath(folder);
    for (const WindowCase& c : allWindows()) {
        OpenedWindows opened;
        speak(opened, c.name, dutch);
        QWidget* window = c.open(opened);
        settle(window);
        QCoreApplication::processEvents();
        const QString file = folder + "/" + QString(c.name).replace(' ', '-') + ".png";
        window->grab().save(file);
        std::printf("%s %dx%d (least %dx%d)\n", qPrintable(file), window->width(), window->height(),
                    window->minimumSizeHint().width(), window->minimumSizeHint().height());
    }
    return 0;
}
