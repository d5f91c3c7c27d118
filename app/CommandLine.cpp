#include "CommandLine.h"
#include "CommandLineArguments.h"
#include "Version.h"

namespace tonara {

namespace {

// GNU's exit status for a command line that cannot be read.
constexpr int kMisuse = 2;

const QString kUsage = QStringLiteral("Usage: tonara [OPTION]... [--] [TONE-FILE]\n");

QString help() {
    return kUsage + QStringLiteral("Plays pure sine tones from 4 to 32000 Hertz.\n"
                                   "Given a tone file (.tnf), plays it in the tone-file player.\n"
                                   "\n"
                                   "  -h, --help     show this help and exit\n"
                                   "  -V, --version  show the version and exit\n"
                                   "  --             end the options: what follows is the tone file\n"
                                   "\n"
                                   "Settings are kept in tonara.ini in the configuration folder\n"
                                   "($XDG_CONFIG_HOME, else ~/.config); the activity and error logs\n"
                                   "(userdata.txt, error.log) in the temporary folder.\n"
                                   "The environment variables it reads are listed in tonara(1).\n");
}

} // namespace

CommandLineReply commandLineReply(const QStringList& arguments,
                                  const std::function<bool(const QString&)>& namesAToneFile) {
    const ArgumentReading reading = readArguments(arguments, namesAToneFile);
    switch (reading.answer) {
    case ArgumentReading::Answer::Help: return {0, help(), {}};
    case ArgumentReading::Answer::Version: return {0, QStringLiteral("Tonara %1\n").arg(kVersionText), {}};
    case ArgumentReading::Answer::Misuse:
        return {kMisuse, {},
                "tonara: " + reading.complaint + '\n' + kUsage + "Try 'tonara --help' for more information.\n"};
    case ArgumentReading::Answer::Run: break;
    }
    // The program still starts as it would without the name; the user learns why no player came.
    if (!reading.operands.isEmpty() && !namesAToneFile(reading.operands))
        return {std::nullopt, {},
                QStringLiteral("tonara: warning: no tone file '%1'; starting without one\n").arg(reading.operands)};
    return {};
}

} // namespace tonara
