// How a tone program tells that the program that asked for its tone is gone.
#include "TempFolders.h"
#include "ToneOwner.h"

#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tonara::test {

namespace {

bool goneWithOwner(const QString& owner) {
    ScopedEnvironment env;
    env.set(kToneOwnerVariable, owner);
    return ToneOwnerWatch().ownerGone();
}

} // namespace

TEST(ToneOwnerWatch, WithoutAUsableOwnerTheToneLastsUntilKilled) {
    ScopedEnvironment env;
    env.unset(kToneOwnerVariable);
    EXPECT_FALSE(ToneOwnerWatch().ownerGone());
    for (const char* unusable : {"", "abc", "0", "-5"}) EXPECT_FALSE(goneWithOwner(unusable)) << unusable;
    EXPECT_FALSE(goneWithOwner(QString::number(::getpid())));
}

TEST(ToneOwnerWatch, AnOwnerThatEndsIsGoneReapedOrNot) {
    const pid_t owner = ::fork();
    ASSERT_GE(owner, 0);
    if (owner == 0) {
        ::pause();
        ::_exit(0);
    }
    ScopedEnvironment env;
    env.set(kToneOwnerVariable, QString::number(owner));
    const ToneOwnerWatch watch;
    EXPECT_FALSE(watch.ownerGone());
    ::kill(owner, SIGKILL);
    // Ended but not yet reaped by its parent, as when the starter of a killed Tonara does not wait.
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, id_t(owner), &info, WEXITED | WNOWAIT), 0);
    EXPECT_TRUE(watch.ownerGone()) << "a zombie";
    ::waitpid(owner, nullptr, 0);
    EXPECT_TRUE(watch.ownerGone()) << "reaped";
    EXPECT_TRUE(ToneOwnerWatch().ownerGone()) << "already gone when the tone program starts";
}

TEST(ToneOwnerForChildren, IsThisProcessUnlessItPassesOnItsOwn) {
    ScopedEnvironment env;
    env.set(kToneOwnerVariable, "4242"); // a second Tonara started by the first
    EXPECT_EQ(toneOwnerForChildren(), QString::number(::getpid()));
}

TEST(EnvironmentValue, FindsANameAmongNulSeparatedEntries) {
    static const char entries[] = "PATH=/bin\0TONARA_OWNER_PID=4242\0XTONARA_OWNER_PID=1\0EMPTY=\0";
    const QByteArray environment(entries, sizeof entries - 1);
    EXPECT_EQ(environmentValue(environment, "TONARA_OWNER_PID"), QByteArray("4242"));
    EXPECT_EQ(environmentValue(environment, "EMPTY"), QByteArray(""));
    EXPECT_FALSE(environmentValue(environment, "TONARA_OWNER").has_value()) << "a name is matched whole";
    EXPECT_FALSE(environmentValue(environment, "PID").has_value());
    EXPECT_FALSE(environmentValue({}, "PATH").has_value());
}

// What a process was told at its start decides, not who its parent is.
TEST(ToneOwnedHere, OnlyAProcessToldThatThisProcessOwnsItsTone) {
    struct Case {
        const char* owner; // nullptr: not told at all
        bool ownedHere;
    };
    const QByteArray self = QByteArray::number(::getpid());
    const Case cases[] = {{self.constData(), true}, {"1", false}, {"", false}, {nullptr, false}};
    for (const Case& c : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(kToneOwnerVariable);
        if (c.owner) environment.insert(kToneOwnerVariable, c.owner);
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start("/bin/sleep", {"30"});
        ASSERT_TRUE(child.waitForStarted(5000));
        EXPECT_EQ(toneOwnedHere(child.processId()), c.ownedHere) << (c.owner ? c.owner : "(none)");
        child.kill();
        child.waitForFinished(5000);
    }
    EXPECT_FALSE(toneOwnedHere(0));
}

// Asked at once, as the starter learns the child has started: the child may
// still be inside its exec, with no environment to read for a moment. On a
// busy machine one child in eight was taken for another's.
TEST(ToneOwnedHere, AChildAskedTheMomentItStartedIsKnown) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kToneOwnerVariable, QString::number(::getpid()));
    int unknown = 0;
    for (int child = 0; child < 40; ++child) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("/bin/sleep", {"30"});
        ASSERT_TRUE(process.waitForStarted(5000));
        if (!toneOwnedHere(process.processId())) ++unknown;
        process.kill();
        process.waitForFinished(5000);
    }
    EXPECT_EQ(unknown, 0) << "of 40 children";
}

} // namespace tonara::test
