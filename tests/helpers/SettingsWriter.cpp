// Writers of one setting, to be killed at work. For each line "go" on its
// input it starts a writer that changes the language back and forth without
// a pause, as fast clicks through the Language menu would, and prints
// "writing <pid>" once the first change is made; when that writer has been
// killed it prints "ended". A fresh process per writer would cost far more
// than the writing itself; this one has no threads, so each writer is a fork.
#include "FakeMainWindow.h"
#include "Program.h"

#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeLanguage(tonara::MainWindow& window, bool dutch) {
    tonara::Program(window).WriteLine(3, dutch ? "Language=NL" : "Language=EN");
}

[[noreturn]] void writeUntilKilled() {
    tonara::test::FakeMainWindow window;
    window.errorLeft = true; // a failure ends the writer instead of waiting for a click
    writeLanguage(window, true);
    std::printf("writing %d\n", int(::getpid()));
    std::fflush(stdout);
    for (bool dutch = false;; dutch = !dutch) writeLanguage(window, dutch);
}

} // namespace

int main() {
    char line[16];
    while (std::fgets(line, sizeof line, stdin) && std::strncmp(line, "go", 2) == 0) {
        const pid_t writer = ::fork();
        if (writer < 0) return 1;
        if (writer == 0) writeUntilKilled();
        int status = 0;
        ::waitpid(writer, &status, 0);
        std::printf("ended %s\n", WIFSIGNALED(status) ? "killed" : "by itself");
        std::fflush(stdout);
    }
    return 0;
}
