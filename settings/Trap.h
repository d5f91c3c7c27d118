#pragma once
// The error trap every handler arms: a failure in the body is reported
// through ErrorNote with the handler's error location code.

#include "Program.h"
#include "RuntimeError.h"

#include <exception>
#include <new>

namespace tonara {

template <typename Body>
void trapped(MainWindow& mainWindow, qint16 errol, Body&& body) {
    try {
        body();
    } catch (const RuntimeError& failure) {
        Program(mainWindow).ErrorNote(errol, failure);
    } catch (const std::bad_alloc&) {
        Program(mainWindow).ErrorNote(errol, RuntimeError(7));
    } catch (const std::exception& other) {
        Program(mainWindow).ErrorNote(errol, RuntimeError(51, QString::fromLocal8Bit(other.what())));
    }
}

} // namespace tonara
