#pragma once
// One connection of the program to the sound server: libpulse's threaded
// main loop and its context, shared by the output and the microphone. The
// loop's thread runs every callback of the streams; other threads take its
// lock (Lock) around their calls into libpulse.

#include <pulse/pulseaudio.h>

#include <string>

namespace tonara {

class PulseConnection {
public:
    // The connection, made on first use under the program's name; null
    // when no server answers.
    static PulseConnection* get(const std::string& program);

    class Lock {
    public:
        explicit Lock(PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    pa_context* context() const { return context_; }
    pa_mainloop_api* api() const { return pa_threaded_mainloop_get_api(loop_); }
    pa_threaded_mainloop* loop() const { return loop_; }
    // Under the lock: lets the loop run until done() holds or ms have
    // passed; false on time out.
    template <typename Done>
    bool waitFor(Done done, int ms) {
        for (int waited = 0; !done(); waited += kWaitStepMs) {
            if (waited >= ms) return false;
            pause();
        }
        return true;
    }
    // Under the lock: lets an operation run to its end; false when it failed.
    bool finish(pa_operation* operation, int ms = kAnswerMs);
    static constexpr int kAnswerMs = 2000;
    // The sample rate of the output we play to (PULSE_SINK's, else the
    // server's default); 0 when unknown.
    int defaultSinkRate();
    // The server is PipeWire's PulseAudio server.
    bool isPipeWire() const { return pipeWire_; }

private:
    static constexpr int kWaitStepMs = 1;
    PulseConnection() = default;
    void pause();
    bool connect(const std::string& program);
    int sinkRate(const char* name);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    bool pipeWire_ = false;
};

} // namespace tonara
