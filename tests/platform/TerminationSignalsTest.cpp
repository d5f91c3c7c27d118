// Termination signals reach the program as a call on its own thread.
#include "RealPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

using namespace tonara;

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

    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &standard, nullptr);
}
