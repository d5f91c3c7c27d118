#pragma once
// Settings that the sound libraries read from the environment. Changing
// the environment is not safe once a second thread runs (Qt, SDL and the
// sound server's client all start some), so every program that may sound
// or record calls prepareAudioEnvironment() first thing in main().

namespace tonara {

// Asks the sound server for the buffering that keeps tones free of gaps on
// a busy machine while a new tone still starts at once; a value the user
// set in PULSE_LATENCY_MSEC is kept.
void prepareAudioEnvironment();

} // namespace tonara
