// Reading a program's arguments after the conventions of GNU programs.
#include "CommandLineArguments.h"
#include "TempFolders.h"

#include <gtest/gtest.h>

namespace tonara::test {
using Answer = ArgumentReading::Answer;

namespace {

const char* nameOf(Answer answer) {
    switch (answer) {
    case Answer::Run: return "run";
    case Answer::Help: return "help";
    case Answer::Version: return "version";
    case Answer::Misuse: return "misuse";
    }
    return "?";
}

} // namespace

TEST(ReadArguments, OptionsOperandsAndTheirEnd) {
    struct Case {
        QStringList arguments;
        Answer answer;
        const char* operandsOrComplaint;
    };
    const Case cases[] = {
        {{}, Answer::Run, ""},
        {{"tones.tnf"}, Answer::Run, "tones.tnf"},
        {{"my", "tones.tnf"}, Answer::Run, "my tones.tnf"},
        {{"-"}, Answer::Run, "-"},
        {{"-h"}, Answer::Help, ""},
        {{"--help"}, Answer::Help, ""},
        {{"--he"}, Answer::Help, "a long option shortened"},
        {{"-V"}, Answer::Version, ""},
        {{"--version"}, Answer::Version, ""},
        {{"--v"}, Answer::Version, ""},
        {{"-hV"}, Answer::Help, "grouped: the first decides"},
        {{"-Vh"}, Answer::Version, ""},
        {{"--version", "--help"}, Answer::Version, ""},
        {{"--help", "extra"}, Answer::Help, ""},
        {{"tones.tnf", "--help"}, Answer::Help, "options may follow operands"},
        {{"--help", "--bogus"}, Answer::Help, ""},
        {{"--bogus", "--help"}, Answer::Misuse, "unrecognized option '--bogus'"},
        {{"--bogus-option"}, Answer::Misuse, "unrecognized option '--bogus-option'"},
        {{"--helpme"}, Answer::Misuse, "unrecognized option '--helpme'"},
        {{"--help=yes"}, Answer::Misuse, "option '--help' doesn't allow an argument"},
        {{"--=x"}, Answer::Misuse, "option '--=x' is ambiguous; possibilities: '--help' '--version'"},
        {{"-v"}, Answer::Misuse, "invalid option -- 'v'"},
        {{"-xh"}, Answer::Misuse, "invalid option -- 'x'"},
        {{"--"}, Answer::Run, ""},
        {{"--", "-odd.tnf"}, Answer::Run, "-odd.tnf"},
        {{"--", "--help"}, Answer::Run, "--help"},
        {{"--", "a", "--", "-b"}, Answer::Run, "a -- -b"},
        {{"a", "--", "-b"}, Answer::Run, "a -b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ArgumentReading reading = readArguments(c.arguments, [](const QString&) { return false; });
        EXPECT_STREQ(nameOf(reading.answer), nameOf(c.answer));
        if (c.answer == Answer::Misuse) {
            EXPECT_EQ(reading.complaint, c.operandsOrComplaint);
        } else {
            EXPECT_TRUE(reading.complaint.isEmpty());
        }
        if (c.answer == Answer::Run) {
            EXPECT_EQ(reading.operands, c.operandsOrComplaint);
        }
    }
}

// A name that was always a tone file stays one, whatever it looks like.
TEST(ReadArguments, ArgumentsThatNameAFileAreThatFile) {
    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"-x", "tones.tnf"}, QStringList{"--"}}) {
        const QString whole = arguments.join(' ');
        const ArgumentReading reading = readArguments(arguments, [&](const QString& text) { return text == whole; });
        EXPECT_STREQ(nameOf(reading.answer), "run") << whole.toStdString();
        EXPECT_EQ(reading.operands, whole);
    }
}

TEST(NamesAToneFile, AsTheStartUpReadsIt) {
    tonara::test::TestEnvironment env;
    tonara::test::writeBytes(env.temp("my tones.tnf"), "%valid%\n");
    EXPECT_TRUE(namesAToneFile(env.temp("my tones.tnf")));
    EXPECT_TRUE(namesAToneFile('"' + env.temp("my tones.tnf") + '"')) << "quotes removed";
    EXPECT_FALSE(namesAToneFile(env.temp("other.tnf")));
    EXPECT_FALSE(namesAToneFile(env.temp())) << "a folder";
    EXPECT_FALSE(namesAToneFile(""));
}

} // namespace tonara::test
