#include "RuntimeError.h"

namespace tonara {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(QString("%1 %2").arg(number).arg(description.isEmpty() ? describe(number) : description).toStdString()),
      number_(number),
      description_(description.isEmpty() ? describe(number) : description) {}

QString RuntimeError::describe(int number) {
    switch (number) {
    case 5: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case err::TypeMismatch: return "Type mismatch";
    case 52: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::BadFileMode: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case err::DiskFull: return "Disk full";
    case err::InputPastEnd: return "Input past end of file";
    case err::DeviceUnavailable: return "Device unavailable";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

void raise(int number) { throw RuntimeError(number); }

} // namespace tonara
