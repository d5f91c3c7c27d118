#pragma once
// Settings that the sound libraries read from the environment. Changing
// the environment is not safe once a second thread runs (Qt, SDL and the
// sound server's client all start some), so every program that may sound
// or record calls prepareAudioEnvironment() first thing in main().

namespace tonara {

// The sound server's buffer for our output. SDL would ask for one callback
// buffer (5 ms), which drops out as soon as other programs keep both cores
// busy. A larger buffer (45-60 ms) makes the server take our sound in
// larger, later bursts, and back-to-back timed tones (Morse) then lose up
// to 12 ms each waiting for the previous fade.
constexpr int kServerBufferMs = 30;

// Asks the sound server for the buffering that keeps tones free of gaps on
// a busy machine while a new tone still starts at once; a value the user
// set in PULSE_LATENCY_MSEC is kept.
void prepareAudioEnvironment();

} // namespace tonara
