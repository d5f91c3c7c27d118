#pragma once
// Termination signals, and their pipe for the platform's own
// waits: a wait that watches it serves a termination request within moments
// instead of at its end.

#include <chrono>
#include <functional>

namespace tonara {

// SIGTERM, SIGINT and SIGHUP become a call of handler on this thread (the
// interface thread), from its event loop or a wait that watches the pipe.
// The newest handler replaces the one before.
void installTerminationHandler(std::function<void()> handler);

// The pipe's read end when a handler is installed and the caller runs on the
// thread it was installed from; -1 otherwise (then nothing is to be served).
int terminationPipeHere();
// Drains the pipe and, when a request was waiting, runs the handler once.
// Shared by every wait and the event loop, so a request is served once.
void serveTerminationRequest();
// Sleeps until the deadline, serving the termination requests that arrive
// meanwhile; when the handler returns, the sleep goes on.
void sleepServingTermination(std::chrono::steady_clock::time_point until);

} // namespace tonara
