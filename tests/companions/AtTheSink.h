#pragma once
// Tests of what the tone programs make the sound server's sink hear.

#include "AudioOutput.h"
#include "SinkRecording.h"

#include <gtest/gtest.h>
#include <iostream>
#include <string>

namespace tonara::test {

class AtTheSink : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundServerReachable())
            GTEST_SKIP() << "no sound server: SOUND_SERVER_PID is unset and pactl info fails "
                            "(./test.sh or tests/sound-server.sh provide one)";
        // Our own open output keeps the sink busy, so its monitor arrives in small blocks.
        AudioOutput::instance().deviceSpec();
    }
};

inline void report(const std::string& what, double value, const char* unit) {
    std::cout << "[ measured ] " << what << ": " << value << " " << unit << std::endl;
}

} // namespace tonara::test
