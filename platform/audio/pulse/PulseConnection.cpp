#include "PulseConnection.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace tonara {

namespace {

constexpr int kConnectMs = 3000;

} // namespace

PulseConnection::Lock::Lock(PulseConnection& connection) : loop_(connection.loop()) {
    pa_threaded_mainloop_lock(loop_);
}

PulseConnection::Lock::~Lock() { pa_threaded_mainloop_unlock(loop_); }

void PulseConnection::pause() {
    pa_threaded_mainloop_unlock(loop_);
    std::this_thread::sleep_for(std::chrono::milliseconds(kWaitStepMs));
    pa_threaded_mainloop_lock(loop_);
}

bool PulseConnection::finish(pa_operation* operation, int ms) {
    if (!operation) return false;
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
    if (!context_ || pa_threaded_mainloop_start(loop_) < 0) return false;

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
    struct Answer {
        bool pipeWire = false;
    } answer;
    pa_operation* info = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* server, void* data) {
            if (server && server->server_name && std::strstr(server->server_name, "PipeWire"))
                static_cast<Answer*>(data)->pipeWire = true;
        },
        &answer);
    finish(info);
    pipeWire_ = answer.pipeWire;
    return true;
}

int PulseConnection::defaultSinkRate() {
    // libpulse plays to PULSE_SINK when it names one, so that sink's rate is ours.
    const char* chosen = std::getenv("PULSE_SINK");
    if (chosen && *chosen)
        if (const int rate = sinkRate(chosen)) return rate;
    return sinkRate("@DEFAULT_SINK@");
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
