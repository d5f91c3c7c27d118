#pragma once
// Tests of what the tone programs make the sound server's sink hear.

#include "AudioOutput.h"
#include "SinkRecording.h"

#include <gtest/gtest.h>

namespace tonara::test {

class AtTheSink : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << kNoSoundServer;
        // Our own open output keeps the sink busy, so its monitor arrives in small blocks.
        AudioOutput::instance().deviceInfo();
    }
};

} // namespace tonara::test
