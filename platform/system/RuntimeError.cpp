#include "RuntimeError.h"

#include <new>
#include <utility>

namespace tonara {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(QString("%1 %2").arg(number).arg(description.isEmpty() ? describe(number) : description).toStdString()),
      number_(number),
      description_(description.isEmpty() ? describe(number) : description) {}

QString RuntimeError::describe(int number) {
    static const std::pair<int, const char*> kWords[] = {
        {err::InvalidCall, "Invalid procedure call or argument"},
        {err::Overflow, "Overflow"},
        {err::OutOfMemory, "Out of memory"},
        {err::SubscriptOutOfRange, "Subscript out of range"},
        {err::DivisionByZero, "Division by zero"},
        {err::TypeMismatch, "Type mismatch"},
        {err::BadFileName, "Bad file name or number"},
        {err::FileNotFound, "File not found"},
        {err::BadFileMode, "Bad file mode"},
        {err::FileAlreadyOpen, "File already open"},
        {err::DeviceIoError, "Device I/O error"},
        {err::FileAlreadyExists, "File already exists"},
        {err::DiskFull, "Disk full"},
        {err::InputPastEnd, "Input past end of file"},
        {err::DeviceUnavailable, "Device unavailable"},
        {err::PermissionDenied, "Permission denied"},
        {err::PathFileAccess, "Path/File access error"},
        {err::PathNotFound, "Path not found"},
    };
    for (const auto& [known, words] : kWords)
        if (known == number) return words;
    return "Application-defined or object-defined error";
}

RuntimeError RuntimeError::fromCaught(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const RuntimeError& known) {
        return known;
    } catch (const std::bad_alloc&) {
        return RuntimeError(err::OutOfMemory);
    } catch (const std::exception& other) {
        return RuntimeError(err::InternalError, QString::fromLocal8Bit(other.what()));
    }
}

void raise(int number) { throw RuntimeError(number); }

} // namespace tonara
