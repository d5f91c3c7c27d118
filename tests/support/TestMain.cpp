// Test programs run with a QApplication on the offscreen platform. A test
// during which the sound server ran out of the output's sound fails: what
// reaches the sink is then not what the program made. A test that fails
// at the private PipeWire shows what its daemons logged meanwhile, as the
// run's only record of what the server saw.
#include "AudioOutput.h"
#include "MissedCycles.h"
#include "WindowAccessibility.h"

#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iostream>

namespace {

class UnderrunWatch : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { before_ = tonara::AudioOutput::instance().underruns(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        const long during = tonara::AudioOutput::instance().underruns() - before_;
        EXPECT_EQ(during, 0) << "the sound server ran out of the output's sound " << during << " times";
    }
    long before_ = 0;
};

class ServerLogOnFailure : public ::testing::EmptyTestEventListener {
    static constexpr std::array kLogs{"pipewire.log", "pipewire-pulse.log"};
    static constexpr qint64 kMostBytes = 8000;
    void OnTestStart(const ::testing::TestInfo&) override {
        for (std::size_t i = 0; i < kLogs.size(); ++i) sizes_[i] = QFile(tonara::test::privateServerLog(kLogs[i])).size();
    }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (!test.result()->Failed() || !tonara::test::atPipeWire()) return;
        for (std::size_t i = 0; i < kLogs.size(); ++i) {
            QFile log(tonara::test::privateServerLog(kLogs[i]));
            if (!log.open(QIODevice::ReadOnly)) continue;
            const qint64 from = std::max(sizes_[i], log.size() - kMostBytes);
            log.seek(from);
            std::cout << "[ server   ] " << kLogs[i] << " during the test" << (from > sizes_[i] ? " (its end)" : "")
                      << ":\n"
                      << log.readAll().toStdString() << std::endl;
        }
    }
    std::array<qint64, kLogs.size()> sizes_{};
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tonara::installWindowAccessibility();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnderrunWatch);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ServerLogOnFailure);
    return RUN_ALL_TESTS();
}
