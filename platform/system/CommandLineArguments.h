#pragma once
// A program's arguments read after the conventions of GNU programs: -h and
// --help, -V and --version anywhere before "--" (short ones may be grouped,
// "-hV"; a long one may be shortened while it names one option alone); the
// first of them decides. Everything else, and all after "--", is an operand.

#include <QString>
#include <QStringList>
#include <functional>

namespace tonara {

struct ArgumentReading {
    enum class Answer { Run, Help, Version, Misuse };
    Answer answer = Answer::Run;
    QString operands;  // joined by single blanks, as the program takes its tone file
    QString complaint; // for Misuse: what was wrong, one line without the program's name
};

// Whether the operands name a tone file as the start-up reads them: every
// double quote removed, a regular file of that path.
bool namesAToneFile(const QString& operands);

// The arguments joined by single blanks that name a file (namesAFile) are that
// file's name whatever they look like: that is how they were always read.
ArgumentReading readArguments(const QStringList& arguments, const std::function<bool(const QString&)>& namesAFile);

} // namespace tonara
