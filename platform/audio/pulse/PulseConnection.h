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
    // passed; false on time out. The loop's thread wakes the wait as soon
    // as the context, a stream told by wakeOnChange or an operation that
    // finish() waits for changes its state, so an answer is taken at once.
    template <typename Done>
    bool waitFor(Done done, int ms) {
        if (done()) return true;
        Deadline deadline(*this, ms);
        while (!done()) {
            if (deadline.passed()) return false;
            pa_threaded_mainloop_wait(loop_);
        }
        return true;
    }
    // Under the lock: a change of the stream's state wakes waitFor.
    void wakeOnChange(pa_stream* stream);
    // Under the lock: lets an operation run to its end; false when it failed.
    bool finish(pa_operation* operation, int ms = kAnswerMs);
    static constexpr int kAnswerMs = 2000;
    // The sample rate of the output we play to (PULSE_SINK's, else the
    // server's default); 0 when unknown.
    int defaultSinkRate();
    // Where libpulse plays and records for a stream that names no device:
    // PULSE_SINK and PULSE_SOURCE when the user set them, else the defaults.
    static std::string playedSink();
    static std::string recordedSource();
    // The server is PipeWire's PulseAudio server. Asked at the connection
    // and not waited for there, so a sound need not wait for the answer.
    bool isPipeWire();

private:
    // A timer on the loop that wakes waitFor when ms have passed.
    class Deadline {
    public:
        Deadline(PulseConnection& connection, int ms);
        ~Deadline();
        Deadline(const Deadline&) = delete;
        Deadline& operator=(const Deadline&) = delete;
        bool passed() const { return passed_; }

    private:
        PulseConnection& connection_;
        pa_time_event* event_ = nullptr;
        bool passed_ = false;
    };

    PulseConnection() = default;
    bool connect(const std::string& program);
    int sinkRate(const char* name);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    bool pipeWire_ = false;
    pa_operation* serverInfo_ = nullptr; // the question isPipeWire() answers, while unanswered
};

} // namespace tonara
