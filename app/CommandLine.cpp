#include "CommandLine.h"
#include "Version.h"

namespace tonara {

std::optional<QString> commandLineReply(const QStringList& arguments,
                                        const std::function<bool(const QString&)>& fileExists) {
    const QString text = arguments.join(' ');
    if (fileExists(text)) return std::nullopt;
    if (text == "--version") return QStringLiteral("Tonara %1\n").arg(kVersionText);
    if (text == "--help")
        return QStringLiteral("Usage: tonara [TONE-FILE]\n"
                              "Plays pure sine tones from 4 to 32000 Hertz.\n"
                              "Given a tone file (.tnf), plays it in the tone-file player.\n"
                              "\n"
                              "  --help     show this help and exit\n"
                              "  --version  show the version and exit\n"
                              "\n"
                              "Settings are kept in tonara.ini in the configuration folder\n"
                              "($XDG_CONFIG_HOME, else ~/.config); the activity and error logs\n"
                              "(userdata.txt, error.log) in the temporary folder.\n");
    return std::nullopt;
}

} // namespace tonara
