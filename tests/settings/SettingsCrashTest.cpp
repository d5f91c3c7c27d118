// The settings file survives the program being killed in the middle of a change.
#include "SettingsTestSupport.h"

#include "Leftovers.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <iostream>

namespace tonara::test {

TEST(SettingsFileCrash, KilledDuringBackToBackChangesItHoldsTheOldLinesOrTheNew) {
    TestEnvironment env;
    const QStringList english{"AutoUpdate=y", "SoundBit=32", "Language=EN", "SendData=n", "Microphone= 3",
                              "MicrophoneON=y"};
    QStringList dutch = english;
    dutch[2] = "Language=NL";
    writeTextLines(env.appData("tonara.ini"), english);
    const QByteArray englishBytes = fileBytes(env.appData("tonara.ini"));
    writeTextLines(env.appData("tonara.ini"), dutch);
    const QByteArray dutchBytes = fileBytes(env.appData("tonara.ini"));

    QProcess writers;
    writers.start(QCoreApplication::applicationDirPath() + "/settings_writer", QStringList());
    ASSERT_TRUE(writers.waitForStarted(10000));
    const auto nextLine = [&writers]() -> QByteArray {
        while (!writers.canReadLine())
            if (!writers.waitForReadyRead(10000)) return {};
        return writers.readLine().trimmed();
    };

    QRandomGenerator random(20261208);
    for (int trial = 0; trial < 200; ++trial) {
        writers.write("go\n");
        const QByteArray started = nextLine();
        ASSERT_TRUE(started.startsWith("writing ")) << "trial " << trial << ": " << started.toStdString();
        // Somewhere in the changes that follow one another without a pause.
        QThread::usleep(random.bounded(20000));
        ::kill(pid_t(started.mid(8).toInt()), SIGKILL);
        ASSERT_EQ(nextLine(), "ended killed") << "trial " << trial << ": killed at work, not ended by an error";

        const QByteArray left = fileBytes(env.appData("tonara.ini"));
        ASSERT_TRUE(left == englishBytes || left == dutchBytes) << "trial " << trial << ": " << left.toStdString();
    }
    writers.closeWriteChannel();
    EXPECT_TRUE(writers.waitForFinished(10000));

    // What the kills left beside the file: kept while it could still be a
    // write in progress, removed by the next start once older than a minute.
    const auto leftovers = [&] {
        return QDir(env.appData()).entryList({".tonara.ini.*"}, QDir::Files | QDir::Hidden);
    };
    const QStringList left = leftovers();
    std::cout << "[ measured ] files left beside the settings file after 200 kills: " << left.size() << std::endl;
    removeLeftovers();
    EXPECT_EQ(leftovers(), left) << "too young to be known as left over";
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-120);
    for (const QString& name : left) {
        QFile file(env.appData(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    removeLeftovers();
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_EQ(QDir(env.appData()).entryList(QDir::Files | QDir::Hidden), QStringList{"tonara.ini"});
}

} // namespace tonara::test
