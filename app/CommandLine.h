#pragma once
// The command line's two questions about the program itself. Anything else
// on it is the path of a tone file.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tonara {

// The text to print for "--help" or "--version", when the arguments are
// exactly one of them and no file of that name exists; nothing otherwise.
std::optional<QString> commandLineReply(const QStringList& arguments,
                                        const std::function<bool(const QString&)>& fileExists);

} // namespace tonara
