#pragma once
// Settings that the sound libraries read from the environment. Changing
// the environment is not safe once a second thread runs (Qt, SDL and the
// sound server's client all start some), so every program that may sound
// or record calls prepareAudioEnvironment() first thing in main().

namespace tonara {

// The sound server's buffer for our output. SDL would ask for one callback
// buffer (5 ms), which drops out as soon as other programs keep both cores
// busy; at 30 ms a 96 kHz stream still ran short now and then with the
// machine idle. A tone starts about this much later.
constexpr int kServerBufferMs = 60;

// Asks the sound server for the buffering that keeps tones free of gaps on
// a busy machine while a new tone still starts at once; a value the user
// set in PULSE_LATENCY_MSEC is kept.
void prepareAudioEnvironment();

} // namespace tonara
