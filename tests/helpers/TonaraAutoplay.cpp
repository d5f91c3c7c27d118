// Tonara as its own main starts it, then with one mode chosen and Play
// pressed from inside the program: for tests that end it from outside while
// its tone sounds, or press Stop by writing "stop" and a line end to its
// standard input. TONARA_AUTOPLAY_OPTION names the mode (1 to 9, default 1).
#include "Folders.h"
#include "Form1.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <unistd.h>

int main(int argc, char** argv) {
    tonara::exportTempFolder();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    tonara::Form1 form1;
    form1.start();
    // Made from its number by hand: an option the window lacks is reported, as before.
    const QByteArray option = "Option" + qEnvironmentVariable("TONARA_AUTOPLAY_OPTION", "1").toLatin1();
    // A preset's animated preview runs the events in which Play is then pressed, as with a user.
    QTimer::singleShot(0, &form1, [&] { form1.setChecked(tonara::MainControl(option.constData()), true); });
    QTimer::singleShot(100, &form1, [&] { form1.playClicked(); });
    // Served inside the tone's wait, as a click on Stop is.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray typed;
    QObject::connect(&input, &QSocketNotifier::activated, &form1, [&] {
        char buffer[64];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        typed.append(buffer, n);
        for (qsizetype end; (end = typed.indexOf('\n')) >= 0; typed.remove(0, end + 1))
            if (typed.left(end) == "stop") form1.stopClicked();
    });
    return app.exec();
}
