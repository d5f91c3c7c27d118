#pragma once
// The program's run-time errors: a number and its description, as the
// error traps report them to the error log.

#include <QString>
#include <exception>
#include <stdexcept>

namespace tonara {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, const QString& description = {});

    int number() const { return number_; }
    const QString& description() const { return description_; }

    // The platform's own words for an error number ("File not found" for 53).
    static QString describe(int number);

    // What a trap reports for a failure it caught: a RuntimeError as it is,
    // running out of memory and any other std::exception by their numbers.
    // Anything else is thrown on.
    static RuntimeError fromCaught(const std::exception_ptr& failure);

private:
    int number_;
    QString description_;
};

// The error numbers the programs raise and report, each named once.
namespace err {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int InternalError = 51;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIoError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidFileFormat = 321;
} // namespace err

[[noreturn]] void raise(int number);

} // namespace tonara
