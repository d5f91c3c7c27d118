#pragma once
// The program's run-time errors: a number and its description, as the
// error traps report them to the error log.

#include <QString>
#include <stdexcept>

namespace tonara {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, const QString& description = {});

    int number() const { return number_; }
    const QString& description() const { return description_; }

    // The platform's own words for an error number ("File not found" for 53).
    static QString describe(int number);

private:
    int number_;
    QString description_;
};

// Well-known error numbers.
namespace err {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int BadFileMode = 54;
constexpr int FileNotFound = 53;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int DeviceUnavailable = 68;
} // namespace err

[[noreturn]] void raise(int number);

} // namespace tonara
