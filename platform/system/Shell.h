#pragma once
// How a command text becomes a program and its argument.

#include <QString>

namespace tonara {

struct ShellCommand {
    bool viaCommandProcessor = false; // "cmd /c X": a missing X fails silently
    QString program;                  // as written, quotes removed
    QString argument;                 // the rest of the line, handed over whole
};

ShellCommand parseShellCommand(const QString& command);

// A relative program name resolves against folder; a name that is not there
// as written matches a file whose name differs only in case.
QString resolveProgram(const QString& program, const QString& folder);

} // namespace tonara
