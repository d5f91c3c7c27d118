#pragma once
// Where a timed tone asked for after another one starts. The program is
// told a timed tone has ended a little before it is heard to end; what it
// asks for next either follows that tone at the back-end's gap or keeps the
// distance the program itself waited.

#include <cstdint>

namespace tonara {

// The program is told a timed tone has ended this long before it is heard
// to end (before its fade, past the driver's lead), so that what it asks
// for next is placed before that moment arrives. A wait that a Stop may cut
// short is told late, so that what the Stop finds still sounding is the
// tone it stops; any other is told early enough to ride out the interface
// thread being held up (on a busy machine a tone-file tone once came 43 ms
// late at 80 ms).
constexpr int kAheadOfAStopMs = 80;
constexpr int kAheadMs = 200;

// Within this after being told, a request follows the tone directly even
// after a wait of the program's own: its shortest pauses (a Morse letter's
// 95 ms) are longer.
constexpr int kChainMs = 60;
// What comes later than this follows nothing: the stream may have rested.
constexpr int kFollowMs = 800;

// Frames after the end of the tone at which the next one starts (0: at the
// gap), or -1: it follows nothing and starts at once. sinceToldMs: from being
// told to the request; programWaited: the program paused on purpose (a delay,
// an event wait) in between. A program that did not pause meant no silence,
// however late a busy machine let it ask.
constexpr std::int64_t followingFrames(std::int64_t sinceToldMs, bool programWaited, int rate) {
    if (sinceToldMs > kFollowMs) return -1;
    if (sinceToldMs <= kChainMs || !programWaited) return 0;
    return sinceToldMs * rate / 1000;
}

} // namespace tonara
