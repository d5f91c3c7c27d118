// Termination signals, turned into a call on the interface thread. The
// handler only writes the signal's number into a pipe; the shut-down runs
// when the event loop reads it, where any work is safe.
#include "RealPlatform.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tonara {

namespace {

int g_pipe[2] = {-1, -1};
QPointer<QSocketNotifier> g_notifier;

extern "C" void onSignal(int number) {
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

void RealPlatform::onTerminationRequest(std::function<void()> handler) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    delete g_notifier; // the newest handler replaces the one before
    g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(g_notifier, &QSocketNotifier::activated, g_notifier, [handler = std::move(handler)] {
        char drained[16];
        while (::read(g_pipe[0], drained, sizeof drained) > 0) {
        }
        handler();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &action, nullptr);
}

} // namespace tonara
