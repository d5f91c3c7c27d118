// Termination signals reach the program as a call on its own thread.
#include "RealPlatform.h"
#include "TimedFollow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>
#include <unistd.h>
#include <vector>
#include <gtest/gtest.h>

namespace tonara::test {

namespace {

void restoreStandardHandling() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &standard, nullptr);
}

} // namespace

TEST(TerminationSignals, EachArrivesOnceAsACallFromTheEventLoop) {
    RealPlatform real;
    QStringList calls;
    int signalNumber = 0;
    real.onTerminationRequest([&] { calls << QString::number(signalNumber); });
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        signalNumber = number;
        const qsizetype before = calls.size();
        ASSERT_EQ(::raise(number), 0); // the handler has run when raise returns
        EXPECT_EQ(calls.size(), before) << "nothing but a note is made inside the signal handler";
        QElapsedTimer waited;
        waited.start();
        while (calls.size() == before && waited.elapsed() < 5000) real.processEvents();
        EXPECT_EQ(calls.size(), before + 1) << number;
    }
    EXPECT_EQ(calls, (QStringList{QString::number(SIGTERM), QString::number(SIGINT), QString::number(SIGHUP)}));

    restoreStandardHandling();
}

// A wait of any length hears a termination request at once and serves it
// there; when the handler returns, the wait goes on to its end. A beep's
// end is the output's: told ahead, before its fade and past the driver's
// lead (together well under 50 ms).
TEST(TerminationSignals, AWaitServesARequestAtOnceAndThenGoesOn) {
    RealPlatform real;
    const struct {
        const char* what;
        std::function<void()> wait;
        qint64 leastMs;
    } waits[] = {
        {"delay", [&] { real.delay(1500); }, 1500},
        {"beep", [&] { real.beep(1000, 1500); }, 1500 - kAheadMs - 50},
    };
    for (const auto& [what, wait, leastMs] : waits) {
        QElapsedTimer clock;
        std::vector<qint64> served;
        real.onTerminationRequest([&] { served.push_back(clock.elapsed()); });
        clock.start();
        std::thread sender([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::kill(::getpid(), SIGTERM);
        });
        wait();
        const qint64 waited = clock.elapsed();
        sender.join();
        ASSERT_EQ(served.size(), 1u) << what;
        EXPECT_LT(served[0], 700) << what << ": served within half a second";
        EXPECT_GE(waited, leastMs) << what;
        real.processEvents();
        EXPECT_EQ(served.size(), 1u) << what << ": served once";
    }
    restoreStandardHandling();
}

// Only the thread that installed the handler runs it; another thread's wait
// leaves the request to the event loop.
TEST(TerminationSignals, AnotherThreadsWaitDoesNotServeTheRequest) {
    RealPlatform real;
    int served = 0;
    real.onTerminationRequest([&] { ++served; });
    std::thread other([&] {
        ::kill(::getpid(), SIGTERM);
        real.delay(300);
    });
    other.join();
    EXPECT_EQ(served, 0);
    QElapsedTimer waited;
    waited.start();
    while (served == 0 && waited.elapsed() < 5000) real.processEvents();
    EXPECT_EQ(served, 1);
    restoreStandardHandling();
}

} // namespace tonara::test
