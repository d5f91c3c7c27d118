#pragma once
// Quillon's error trap. Quillon keeps no error log: a failure shows its
// description in a critical "Error" box and ends the program.

#include "RuntimeError.h"

#include <QString>
#include <exception>
#include <new>

namespace tonara::quillon {

// Shows the description in a critical "Error" box, then ends the program.
void endWithError(const QString& description);

template <typename Body>
void trapped(Body&& body) {
    try {
        body();
    } catch (const RuntimeError& failure) {
        endWithError(failure.description());
    } catch (const std::bad_alloc&) {
        endWithError(RuntimeError::describe(7));
    } catch (const std::exception& other) {
        endWithError(QString::fromLocal8Bit(other.what()));
    }
}

} // namespace tonara::quillon
