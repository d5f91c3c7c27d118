#pragma once
// A death test runs its statement in a child started afresh ("threadsafe":
// the tests' own threads would not survive a plain fork). The child ends
// without unwinding, so what it made in the temporary folder (a
// TestEnvironment's folders) would stay there run after run; it is given a
// temporary folder of its parent's instead, removed with the parent's test.

#include "TempFolders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tonara::test {

class DeathTestFolders {
public:
    DeathTestFolders() {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        environment_.set("TMPDIR", root_.path());
    }

private:
    QTemporaryDir root_;
    ScopedEnvironment environment_;
};

} // namespace tonara::test
