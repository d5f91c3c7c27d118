// Termination signals, turned into a call on the interface thread. The
// handler only writes the signal's number into a pipe; the shut-down runs
// when the event loop or one of the platform's waits reads it, where any
// work is safe.
#include "TerminationRequests.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace tonara {

namespace {

int g_pipe[2] = {-1, -1};
QPointer<QSocketNotifier> g_notifier;
std::function<void()> g_handler;
std::thread::id g_handlerThread;

extern "C" void onSignal(int number) {
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

int terminationPipeHere() {
    return g_handler && std::this_thread::get_id() == g_handlerThread ? g_pipe[0] : -1;
}

void serveTerminationRequest() {
    if (terminationPipeHere() < 0) return;
    bool waiting = false;
    char drained[16];
    while (::read(g_pipe[0], drained, sizeof drained) > 0) waiting = true;
    if (!waiting) return;
    // A copy: the handler may install another one while it runs.
    const std::function<void()> handler = g_handler;
    handler();
}

void sleepServingTermination(std::chrono::steady_clock::time_point until) {
    for (;;) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec timeout{time_t(ns / 1000000000), long(ns % 1000000000)};
        pollfd watched{terminationPipeHere(), POLLIN, 0};
        // A negative descriptor is not watched: the poll is then a plain sleep.
        if (::ppoll(&watched, 1, &timeout, nullptr) > 0 && (watched.revents & POLLIN)) serveTerminationRequest();
    }
}

void installTerminationHandler(std::function<void()> handler) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_handler = std::move(handler); // the newest handler replaces the one before
    g_handlerThread = std::this_thread::get_id();
    delete g_notifier;
    g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(g_notifier, &QSocketNotifier::activated, g_notifier, [] { serveTerminationRequest(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &action, nullptr);
}

} // namespace tonara
