// Tonara as its own main starts it, then with one mode chosen and Play
// pressed from inside the program: for tests that end it from outside while
// its tone sounds. TONARA_AUTOPLAY_OPTION names the mode (1 to 9, default 1).
#include "Folders.h"
#include "Form1.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    tonara::exportTempFolder();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    tonara::Form1 form1;
    form1.start();
    const QString option = "Option" + qEnvironmentVariable("TONARA_AUTOPLAY_OPTION", "1");
    // A preset's animated preview runs the events in which Play is then pressed, as with a user.
    QTimer::singleShot(0, &form1, [&] { form1.setChecked(option, true); });
    QTimer::singleShot(100, &form1, [&] { form1.playClicked(); });
    return app.exec();
}
