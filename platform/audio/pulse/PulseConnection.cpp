#include "PulseConnection.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace tonara {

namespace {

constexpr int kConnectMs = 3000;

void wakeWaiter(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

} // namespace

PulseConnection::Lock::Lock(PulseConnection& connection) : loop_(connection.loop()) {
    pa_threaded_mainloop_lock(loop_);
}

PulseConnection::Lock::~Lock() { pa_threaded_mainloop_unlock(loop_); }

PulseConnection::Deadline::Deadline(PulseConnection& connection, int ms) : connection_(connection) {
    timeval when{};
    pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(ms) * PA_USEC_PER_MSEC);
    event_ = connection.api()->time_new(
        connection.api(), &when,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
            auto* deadline = static_cast<Deadline*>(self);
            deadline->passed_ = true;
            wakeWaiter(deadline->connection_.loop());
        },
        this);
    // Without a timer the wait still ends, at once, rather than never.
    if (!event_) passed_ = true;
}

PulseConnection::Deadline::~Deadline() {
    if (event_) connection_.api()->time_free(event_);
}

void PulseConnection::wakeOnChange(pa_stream* stream) {
    pa_stream_set_state_callback(
        stream, [](pa_stream*, void* loop) { wakeWaiter(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
}

bool PulseConnection::finish(pa_operation* operation, int ms) {
    if (!operation) return false;
    pa_operation_set_state_callback(
        operation, [](pa_operation*, void* loop) { wakeWaiter(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
    const bool done = waitFor([&] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; }, ms);
    if (!done) pa_operation_cancel(operation);
    const bool finished = pa_operation_get_state(operation) == PA_OPERATION_DONE;
    pa_operation_unref(operation);
    return finished;
}

bool PulseConnection::connect(const std::string& program) {
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) return false;
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, program.c_str());
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "nl.norvane.Tonara");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "nl.norvane.Tonara");
    context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), program.c_str(), properties);
    pa_proplist_free(properties);
    if (!context_) return false;
    pa_context_set_state_callback(
        context_, [](pa_context*, void* loop) { wakeWaiter(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
    if (pa_threaded_mainloop_start(loop_) < 0) return false;

    Lock lock(*this);
    const auto settled = [&] {
        const pa_context_state_t state = pa_context_get_state(context_);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    // No server of our own is started: one that does not run stays absent.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 || !waitFor(settled, kConnectMs) ||
        pa_context_get_state(context_) != PA_CONTEXT_READY) {
        std::fprintf(stderr, "%s: no sound server (%s)\n", program.c_str(),
                     pa_strerror(pa_context_errno(context_)));
        return false;
    }
    serverInfo_ = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* server, void* self) {
            if (server && server->server_name && std::strstr(server->server_name, "PipeWire"))
                static_cast<PulseConnection*>(self)->pipeWire_ = true;
        },
        this);
    return true;
}

bool PulseConnection::isPipeWire() {
    Lock lock(*this);
    if (serverInfo_) finish(std::exchange(serverInfo_, nullptr));
    return pipeWire_;
}

namespace {
constexpr const char* kDefaultSink = "@DEFAULT_SINK@";

std::string chosenOr(const char* variable, const char* fallback) {
    const char* chosen = std::getenv(variable);
    return chosen && *chosen ? chosen : fallback;
}
} // namespace

std::string PulseConnection::playedSink() { return chosenOr("PULSE_SINK", kDefaultSink); }
std::string PulseConnection::recordedSource() { return chosenOr("PULSE_SOURCE", "@DEFAULT_SOURCE@"); }

int PulseConnection::defaultSinkRate() {
    const std::string sink = playedSink();
    if (const int rate = sinkRate(sink.c_str())) return rate;
    // A PULSE_SINK the server does not know: the stream goes to the default.
    return sink == kDefaultSink ? 0 : sinkRate(kDefaultSink);
}

int PulseConnection::sinkRate(const char* name) {
    struct Answer {
        int rate = 0;
    } answer;
    Lock lock(*this);
    pa_operation* sink = pa_context_get_sink_info_by_name(
        context_, name,
        [](pa_context*, const pa_sink_info* info, int, void* data) {
            if (info) static_cast<Answer*>(data)->rate = int(info->sample_spec.rate);
        },
        &answer);
    finish(sink);
    return answer.rate;
}

PulseConnection* PulseConnection::get(const std::string& program) {
    static std::once_flag once;
    static PulseConnection* connection = nullptr;
    std::call_once(once, [&] {
        auto* made = new PulseConnection;
        if (made->connect(program)) connection = made;
        // A failed connection is kept, not freed: its loop thread may still be winding down.
    });
    return connection;
}

} // namespace tonara
