// Test programs run with a QApplication on the offscreen platform. A test
// during which the sound server ran out of the output's sound fails: what
// reaches the sink is then not what the program made.
#include "AudioOutput.h"
#include "WindowAccessibility.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class UnderrunWatch : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { before_ = tonara::AudioOutput::instance().underruns(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        const long during = tonara::AudioOutput::instance().underruns() - before_;
        EXPECT_EQ(during, 0) << "the sound server ran out of the output's sound " << during << " times";
    }
    long before_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tonara::installWindowAccessibility();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnderrunWatch);
    return RUN_ALL_TESTS();
}
