#pragma once
// The error trap every handler arms: a failure in the body is reported
// through ErrorNote with the handler's error location code.

#include "Program.h"
#include "RuntimeError.h"

#include <exception>

namespace tonara {

template <typename Body>
void trapped(MainWindow& mainWindow, qint16 errol, Body&& body) {
    try {
        body();
    } catch (const std::exception&) {
        Program(mainWindow).ErrorNote(errol, RuntimeError::fromCaught(std::current_exception()));
    }
}

} // namespace tonara
