#pragma once
// The real platform for tests that play, record or start real programs.

#include "FakePlatform.h"
#include "RealPlatform.h"

namespace tonara::test {

// The real platform, except that ending the program ends only the test.
class TestedPlatform : public RealPlatform {
public:
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded{exitCode}; }
};

} // namespace tonara::test
