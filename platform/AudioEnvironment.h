#pragma once
// Settings that the sound libraries read from the environment. Changing
// the environment is not safe once a second thread runs (Qt, SDL and the
// sound server's client all start some), so every program that may sound
// or record calls prepareAudioEnvironment() first thing in main().

namespace tonara {

// The sound server's buffer for our output. SDL would ask for one callback
// buffer (5 ms), which drops out as soon as other programs keep both cores
// busy; at 30 ms even paplay drops out now and then on an idle virtual
// machine. The server takes a larger buffer in larger bursts, which the
// mixer evens out by placing requests by the time they were made.
constexpr int kServerBufferMs = 60;

// Asks the sound server for the buffering that keeps tones free of gaps on
// a busy machine while a new tone still starts at once; a value the user
// set in PULSE_LATENCY_MSEC is kept.
void prepareAudioEnvironment();

} // namespace tonara
