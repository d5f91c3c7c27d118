#include "CommandLineArguments.h"
#include "TextFile.h"

#include <array>

namespace tonara {

namespace {

using Answer = ArgumentReading::Answer;

struct Option {
    QChar shortName;
    const char* longName;
    Answer answer;
};

constexpr std::array<Option, 2> kOptions{{{'h', "help", Answer::Help}, {'V', "version", Answer::Version}}};

ArgumentReading misuse(const QString& complaint) { return {Answer::Misuse, {}, complaint}; }

ArgumentReading readLongOption(const QString& argument) {
    const QString written = argument.mid(2).section('=', 0, 0);
    const Option* found = nullptr;
    QStringList candidates;
    for (const Option& option : kOptions) {
        const QString name = QString::fromLatin1(option.longName);
        if (name == written) {
            found = &option;
            candidates = {name};
            break;
        }
        if (name.startsWith(written)) {
            found = &option;
            candidates << "'--" + name + "'";
        }
    }
    if (!found) return misuse(QStringLiteral("unrecognized option '%1'").arg(argument));
    if (candidates.size() > 1)
        return misuse(QStringLiteral("option '%1' is ambiguous; possibilities: %2").arg(argument, candidates.join(' ')));
    if (argument.contains('='))
        return misuse(QStringLiteral("option '--%1' doesn't allow an argument").arg(found->longName));
    return {found->answer, {}, {}};
}

ArgumentReading readShortOptions(const QString& argument) {
    const QChar first = argument.at(1);
    for (const Option& option : kOptions)
        if (option.shortName == first) return {option.answer, {}, {}};
    return misuse(QStringLiteral("invalid option -- '%1'").arg(first));
}

} // namespace

bool namesAToneFile(const QString& operands) { return fileExists(QString(operands).remove('"')); }

ArgumentReading readArguments(const QStringList& arguments, const std::function<bool(const QString&)>& namesAFile) {
    const QString whole = arguments.join(' ');
    if (!whole.isEmpty() && namesAFile(whole)) return {Answer::Run, whole, {}};
    QStringList operands;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || argument == "-" || !argument.startsWith('-')) {
            operands << argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else {
            // The first option decides, as a GNU program ends at its first --help or mistake.
            return argument.startsWith("--") ? readLongOption(argument) : readShortOptions(argument);
        }
    }
    return {Answer::Run, operands.join(' '), {}};
}

} // namespace tonara
