// The CPU the main window uses while a preset's animated sine preview runs
// and no tone plays: Tonara as its main starts it, High pitch chosen, the
// process's own time measured over a number of seconds. Figures only.
//   xvfb-run -a build/bin/preview_cpu [seconds]   (TEMP and APPDATA as for Tonara)
// APPDATA must hold a tonara.ini: without one the first start's wizard hides
// the main window, and the preview, finding it hidden, ends the program at once.
#include "Folders.h"
#include "Form1.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    tonara::exportTempFolder();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    tonara::Form1 form1;
    form1.start();
    double startedAt = 0;
    // The preview's loop runs the events in which these timers fire, as with a user.
    QTimer::singleShot(0, &form1, [&] { form1.setChecked(tonara::form1::Option3, true); });
    QTimer::singleShot(2000, &form1, [&] { startedAt = cpuSeconds(); });
    QTimer::singleShot(2000 + seconds * 1000, &form1, [&] {
        std::printf("animated preview (High pitch), %d s: %.2f %% of one core\n", seconds,
                    (cpuSeconds() - startedAt) * 100 / seconds);
        std::fflush(stdout);
        ::_exit(0);
    });
    return app.exec();
}
