#pragma once
// What the command line makes the program say before any window: its help,
// its version, what it cannot read, a tone file that is not there. Anything
// but an option is the path of a tone file.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tonara {

struct CommandLineReply {
    std::optional<int> exitCode; // set: the program says its texts and ends without a window
    QString toOutput;            // standard output
    QString toError;             // standard error
};

// namesAToneFile tells whether the operands name a tone file (CommandLineArguments.h).
CommandLineReply commandLineReply(const QStringList& arguments,
                                  const std::function<bool(const QString&)>& namesAToneFile);

} // namespace tonara
